#pragma once

#include <SDL_mixer.h>

#include <string>

// One sound effect: a WAV chunk with the channel it plays on and its loop count.
// Owns its chunk, so it cannot be copied.
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
    // For a sound on a channel of its own (the music): pause and resume it
    // where it was, and stop it. A sound on any free channel (channel -1) is
    // left alone by these.
    void pause();
    void resume();
    void stop();
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
