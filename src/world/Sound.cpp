#include "world/Sound.h"

#include "platform/Resources.h"
#include "world/Texture.h"

Sound::Sound(const std::string& filePath, int _loop, int _channel) : loop(_loop), channel(_channel) {
    init(filePath, _loop, _channel);
}

Sound::~Sound() {
    Mix_FreeChunk(sound);
    sound = nullptr;
}

void Sound::init(const std::string& filePath, int _loop, int _channel) {
    this->loop = _loop;
    this->channel = _channel;
    Mix_FreeChunk(sound);
    // Opened here rather than by Mix_LoadWAV, whose own error for a file that
    // cannot be opened ("with NULL src") would hide which file is missing.
    // The system's reason goes with the file's name; a file many owners load
    // (every robot's sounds) is told once a run.
    SDL_RWops* file = SDL_RWFromFile(filePath.c_str(), "rb");
    sound = file != nullptr ? Mix_LoadWAV_RW(file, 1) : nullptr;
    if (sound == nullptr) {
        std::string reason = file == nullptr ? unreadableReason(filePath) : "";
        if (reason.empty()) reason = Mix_GetError();
        logOnce("Failed to load sound effect " + filePath + "! SDL_mixer Error: " + reason);
    }
}

void Sound::play() {
    if (sound != nullptr) Mix_PlayChannel(channel, sound, loop);
}

bool Sound::isPlaying() const {
    if (sound == nullptr) return false;
    if (channel >= 0) return Mix_Playing(channel) != 0 && Mix_GetChunk(channel) == sound;
    // A sound on any free channel plays wherever the mixer put it.
    const int channels = Mix_AllocateChannels(-1);
    for (int any = 0; any < channels; ++any)
        if (Mix_Playing(any) != 0 && Mix_GetChunk(any) == sound) return true;
    return false;
}

void Sound::free() {
    Mix_FreeChunk(sound);
    sound = nullptr;
}
