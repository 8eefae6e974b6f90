/* The one implementation of stb_image (Debian's libstb-dev header): PNG and JPEG from memory only. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
/* Beyond this the decoder refuses a picture before allocating for it. */
#define STBI_MAX_DIMENSIONS 8192
#include <stb_image.h>
