/* The one implementation of stb_image (Debian's libstb-dev header): PNG and JPEG from memory only. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
/* Beyond this the decoder refuses a picture before allocating for it. */
#define STBI_MAX_DIMENSIONS 8192
/* Zeroed buffers: a damaged picture whose data stops early shows black where nothing was decoded, the
   same every time, never what the heap held before. */
#include <stdlib.h>
#define STBI_MALLOC(size) calloc(1, size)
#define STBI_REALLOC(pointer, size) realloc(pointer, size)
#define STBI_FREE(pointer) free(pointer)
#include <stb_image.h>
