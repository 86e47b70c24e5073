#pragma once

#include <SDL_mixer.h>

#include <string>

// One sound effect: a WAV chunk, decoded whole when loaded, with the channel it
// plays on and its loop count. Owns its chunk, so it cannot be copied. (The
// music is streamed instead: world/Music.h.)
class Sound {
public:
    Sound() = default;
    Sound(const std::string& filePath, int loop, int channel);
    ~Sound();

    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // Loads filePath (a whole relative path) as the chunk, replacing any earlier one.
    void init(const std::string& filePath, int loop, int channel);
    void play();
    // Whether it plays now: on its own channel, or on any for a sound without one.
    bool isPlaying() const;
    // Releases the chunk now, before the audio device closes; play() then does nothing.
    void free();

    bool isLoaded() const { return sound != nullptr; }

private:
    Mix_Chunk* sound = nullptr;
    int loop = 0;
    int channel = -1;
};
