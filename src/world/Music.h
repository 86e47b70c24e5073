#pragma once

// The music loop: an Ogg Vorbis file that SDL_mixer streams from disk as it
// plays, a few kilobytes decoded at a time, rather than a chunk decoded whole
// into memory at start. Its volume is the mixer's music volume (applyVolumes).

#include <SDL_mixer.h>

#include <cstddef>
#include <string>

// Owns its Mix_Music, so it cannot be copied; free it (or let it go) before
// the audio device closes. SDL_mixer plays one music at a time: playing one
// Music stops any other.
class Music {
public:
    Music() = default;
    explicit Music(const std::string& filePath);
    ~Music();

    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    // Opens filePath (a whole relative path), replacing any music opened
    // before. A file that cannot be opened or decoded is told once a run with
    // its name and reason, and leaves no music; a file cut short is told too,
    // and kept: it plays up to the cut.
    void load(const std::string& filePath);
    // From the start, looping until stopped: at its end the stream goes back to
    // its first sample.
    void play();
    // Pauses where it is, and carries on from there.
    void pause();
    void resume();
    void stop();
    // Whether this music plays now; paused counts, stopped does not.
    bool isPlaying() const;
    // Releases the stream now, before the audio device closes; play() then does nothing.
    void free();

    bool isLoaded() const { return music != nullptr; }

private:
    Mix_Music* music = nullptr;
};

// The largest Ogg page: its 27-byte header, 255 lacing values, 255 x 255 bytes of data.
inline constexpr std::size_t MAX_OGG_PAGE = 27 + 255 + 255 * 255;
// Whether the bytes at the end of an Ogg file close a whole stream: the last
// page ends exactly at the end and carries the end-of-stream flag. tail is up
// to the file's last MAX_OGG_PAGE bytes. A cut file still opens and plays, up
// to the cut, so this is how a cut is noticed.
bool oggEndsWhole(const unsigned char* tail, std::size_t length);
