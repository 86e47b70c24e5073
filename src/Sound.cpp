#include "Sound.h"

#include <cstdio>

Sound::Sound(const std::string& filePath, int loop, int channel) : loop(loop), channel(channel) {
    init(filePath, loop, channel);
}

Sound::~Sound() {
    Mix_FreeChunk(sound);
    sound = nullptr;
}

void Sound::init(const std::string& filePath, int loop, int channel) {
    this->loop = loop;
    this->channel = channel;
    Mix_FreeChunk(sound);
    sound = Mix_LoadWAV(filePath.c_str());
    if (sound == nullptr) {
        std::printf("Failed to load scratch sound effect! SDL_mixer Error: %s\n", Mix_GetError());
        std::fflush(stdout);
    }
}

void Sound::play() {
    if (sound != nullptr) Mix_PlayChannel(channel, sound, loop);
}

void Sound::free() {
    Mix_FreeChunk(sound);
    sound = nullptr;
}
