#include "world/Music.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/Resources.h"

namespace {

// SDL_mixer has one slot for music: the Music in it, if one of ours is.
const Music* playing = nullptr;

// Whether the open file ends as a whole Ogg stream (oggEndsWhole); leaves it
// at its start, where the decoder expects it.
bool fileEndsWhole(SDL_RWops* file) {
    const Sint64 size = SDL_RWsize(file);
    if (size <= 0) return false;
    const std::size_t length = static_cast<std::size_t>(std::min<Sint64>(size, MAX_OGG_PAGE));
    std::vector<unsigned char> tail(length);
    const bool read = SDL_RWseek(file, size - static_cast<Sint64>(length), RW_SEEK_SET) >= 0 &&
                      SDL_RWread(file, tail.data(), 1, length) == length;
    SDL_RWseek(file, 0, RW_SEEK_SET);
    return read && oggEndsWhole(tail.data(), length);
}

}  // namespace

bool oggEndsWhole(const unsigned char* tail, std::size_t length) {
    const std::size_t header = 27;
    // From the end back: the page that ends exactly where the file does.
    for (std::size_t at = length >= header ? length - header + 1 : 0; at-- > 0;) {
        if (std::memcmp(tail + at, "OggS", 4) != 0) continue;
        const std::size_t segments = tail[at + 26];
        if (at + header + segments > length) continue;
        std::size_t end = at + header + segments;
        for (std::size_t i = 0; i < segments; ++i) end += tail[at + header + i];
        if (end == length) return (tail[at + 5] & 0x04) != 0;  // end of stream
    }
    return false;
}

Music::Music(const std::string& filePath) { load(filePath); }

Music::~Music() { free(); }

void Music::load(const std::string& filePath) {
    free();
    // Opened here rather than by Mix_LoadMUS, whose own words for a file that
    // cannot be opened would not give the system's reason.
    SDL_RWops* file = SDL_RWFromFile(filePath.c_str(), "rb");
    if (file == nullptr) {
        std::string reason = unreadableReason(filePath);
        if (reason.empty()) reason = SDL_GetError();
        logOnce("Failed to load music " + filePath + "! SDL_mixer Error: " + reason);
        return;
    }
    const bool whole = fileEndsWhole(file);
    // The stream reads the file as it plays, and closes it when freed (or at once, when it fails).
    music = Mix_LoadMUS_RW(file, 1);
    if (music == nullptr) {
        logOnce("Failed to load music " + filePath + "! SDL_mixer Error: " + Mix_GetError());
    } else if (!whole) {
        logOnce("Music " + filePath + " is cut short: its stream has no end. It plays up to the cut.");
    }
}

void Music::play() {
    if (music != nullptr && Mix_PlayMusic(music, -1) == 0) playing = this;
}

void Music::pause() {
    if (isPlaying()) Mix_PauseMusic();
}

void Music::resume() {
    if (isPlaying()) Mix_ResumeMusic();
}

void Music::stop() {
    if (isPlaying()) Mix_HaltMusic();
    if (playing == this) playing = nullptr;
}

bool Music::isPlaying() const { return music != nullptr && playing == this && Mix_PlayingMusic() != 0; }

void Music::free() {
    if (playing == this) playing = nullptr;
    // Halts it first when it plays.
    Mix_FreeMusic(music);
    music = nullptr;
}
