#include "platform/Picture.h"

#include <SDL_image.h>

#include "platform/Resources.h"

namespace {

Uint32 bigEndian(const unsigned char* bytes) {
    return (Uint32(bytes[0]) << 24) | (Uint32(bytes[1]) << 16) | (Uint32(bytes[2]) << 8) | Uint32(bytes[3]);
}

}  // namespace

SDL_Surface* loadPicture(const std::string& path, std::string& error) {
    SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
    if (file == nullptr) {
        // SDL names the file; the system says why it could not be opened.
        error = SDL_GetError();
        const std::string reason = unreadableReason(path);
        if (!reason.empty() && error.find(reason) == std::string::npos) error.append(": ").append(reason);
        return nullptr;
    }
    // The size a PNG declares is in its first chunk: read it before the decoder
    // asks for width x height x 4 bytes on the file's word.
    static const unsigned char SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    unsigned char header[24] = {};
    const bool whole = SDL_RWread(file, header, 1, sizeof header) == sizeof header;
    if (!whole || SDL_memcmp(header, SIGNATURE, sizeof SIGNATURE) != 0 || SDL_memcmp(header + 12, "IHDR", 4) != 0) {
        SDL_RWclose(file);
        error = "not a PNG picture";
        return nullptr;
    }
    const Uint32 width = bigEndian(header + 16);
    const Uint32 height = bigEndian(header + 20);
    if (width > MAX_PICTURE_SIDE || height > MAX_PICTURE_SIDE) {
        SDL_RWclose(file);
        error = "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels, more than " + std::to_string(MAX_PICTURE_SIDE) + " on a side";
        return nullptr;
    }
    SDL_RWseek(file, 0, RW_SEEK_SET);
    SDL_Surface* surface = IMG_LoadTyped_RW(file, 1, "PNG");
    if (surface == nullptr) error = IMG_GetError();
    return surface;
}
