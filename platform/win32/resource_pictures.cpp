// Reading the embedded BMP resources.
#include "platform/win32/resource_pictures.h"

#include <cctype>
#include <span>
#include <string>

namespace kolvane::win32 {

std::optional<Image> ResourcePictures::picture(std::string_view name) {
    std::string upper(name);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    HRSRC found = FindResourceA(module_, upper.c_str(), MAKEINTRESOURCEA(10));  // RCDATA
    if (!found) return std::nullopt;
    HGLOBAL loaded = LoadResource(module_, found);
    const DWORD size = SizeofResource(module_, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0) return std::nullopt;
    return decode_bmp(std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(bytes), size));
}

}  // namespace kolvane::win32
