// Reading the embedded picture resources: BMPs decoded at once, the larger pictures handed on compressed.
#include "platform/win32/resource_pictures.h"

#include <cctype>
#include <string>

#include "scene/render/picture_codec.h"

namespace kolvane::win32 {

std::span<const std::uint8_t> ResourcePictures::resource(std::string_view name) const {
    // Resource names are upper case and have no hyphens: "sprite-2x" is SPRITE_2X.
    std::string upper(name);
    for (char& c : upper) c = c == '-' ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    HRSRC found = FindResourceA(module_, upper.c_str(), MAKEINTRESOURCEA(10));  // RCDATA
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module_, found);
    const DWORD size = SizeofResource(module_, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0) return {};
    return {static_cast<const std::uint8_t*>(bytes), size};
}

std::optional<Image> ResourcePictures::picture(std::string_view name) {
    const auto bytes = resource(name);
    if (bytes.empty()) return std::nullopt;
    return decode_picture(bytes);
}

std::vector<std::uint8_t> ResourcePictures::encoded(std::string_view name) {
    const auto bytes = resource(name);
    return {bytes.begin(), bytes.end()};
}

}  // namespace kolvane::win32
