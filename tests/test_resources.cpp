#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {
struct PictureSize {
    std::string file;
    int width;  // 0: any size (the picture is stretched to its drawn size)
    int height;
};

// Pictures whose pixel size the game relies on: sprite sheets cut into frames,
// and the hero, whose whole image is drawn as the teleport cursor.
const std::vector<PictureSize> PICTURES = {
    {"background.png", 0, 0},   {"Zorbi.png", 26, 32},       {"ZorbiLeft.png", 26, 32},
    {"C4.png", 32, 32},         {"Detinator.png", 0, 0},     {"platform.png", 0, 0},
    {"explosion.png", 135, 27}, {"bullet.png", 4, 4},        {"laser.png", 32, 8},
    {"Revolver.png", 0, 0},     {"rifle.png", 0, 0},         {"shotgun.png", 0, 0},
    {"knife.png", 0, 0},        {"laserPistol.png", 0, 0},   {"robor.png", 8, 16},
    {"roborto.png", 36, 32},    {"robro.png", 12, 32},       {"romo.png", 20, 13},
    {"roo.png", 115, 32},       {"logo.png", 0, 0},          {"button.png", 0, 0},
    {"button1.png", 0, 0},      {"upgrade-menu/lb.png", 0, 0}, {"upgrade-menu/rb.png", 0, 0},
};

std::vector<std::string> shopPictures() {
    std::vector<std::string> files;
    for (const char* kind : {"small", "upgrade", "weapon"}) {
        const std::string base = std::string(kind) == "upgrade" ? "upgrade-button" : kind;
        files.push_back("upgrade-menu/" + base + ".png");
        files.push_back("upgrade-menu/" + std::string(kind) + "-selected.png");
        files.push_back("upgrade-menu/" + std::string(kind) + "-active.png");
    }
    for (int level = 1; level <= 5; ++level) files.push_back("upgrade-menu/upgrade-" + std::to_string(level) + ".png");
    for (const char* item : {"revolver", "rifle", "shotgun", "knife", "laser-pistol", "bounce", "teleport", "c4",
                             "grenade", "armor", "shield", "speed", "dodge"}) {
        files.push_back("upgrade-menu/upgrade-" + std::string(item) + ".png");
    }
    return files;
}
}  // namespace

TEST(ShippedResources, EveryPictureLoadsAtTheSizeTheGameCutsItAt) {
    std::vector<PictureSize> all = PICTURES;
    for (const std::string& file : shopPictures()) all.push_back({file, 0, 0});
    for (const PictureSize& picture : all) {
        SDL_Surface* image = IMG_Load(("resources/textures/" + picture.file).c_str());
        ASSERT_NE(image, nullptr) << picture.file << ": " << IMG_GetError();
        if (picture.width != 0) {
            EXPECT_EQ(image->w, picture.width) << picture.file;
            EXPECT_EQ(image->h, picture.height) << picture.file;
        }
        SDL_FreeSurface(image);
    }
}

TEST(ShippedResources, OpaqueTilesAndBackdropHaveNoTransparentHoles) {
    for (const char* file : {"background.png", "platform.png", "button.png"}) {
        SDL_Surface* loaded = IMG_Load((std::string("resources/textures/") + file).c_str());
        ASSERT_NE(loaded, nullptr);
        SDL_Surface* image = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA8888, 0);
        SDL_FreeSurface(loaded);
        int cyan = 0;
        for (int y = 0; y < image->h; ++y) {
            for (int x = 0; x < image->w; ++x) {
                SDL_Color c;
                SDL_GetRGBA(static_cast<Uint32*>(image->pixels)[y * (image->pitch / 4) + x], image->format, &c.r,
                            &c.g, &c.b, &c.a);
                cyan += (c.r == 0 && c.g == 255 && c.b == 255) ? 1 : 0;
            }
        }
        EXPECT_EQ(cyan, 0) << file;
        SDL_FreeSurface(image);
    }
}

TEST(ShippedResources, EverySoundTheFontAndTheControllerMappingsLoad) {
    const bool audio = Mix_QuerySpec(nullptr, nullptr, nullptr) != 0;
    for (const char* name : {"shortExplosion", "mediumExplosion", "playerDamage", "buttonClick",
                             "revolver-shoot", "revolver-reload", "revolver-empty", "laserPistol-shoot",
                             "laserPistol-reload", "laserPistol-empty"}) {
        const std::string path = std::string("resources/sounds/") + name + ".wav";
        if (audio) {
            Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
            EXPECT_NE(chunk, nullptr) << path << ": " << Mix_GetError();
            Mix_FreeChunk(chunk);
        } else {
            SDL_AudioSpec format;
            Uint8* buffer = nullptr;
            Uint32 length = 0;
            EXPECT_NE(SDL_LoadWAV(path.c_str(), &format, &buffer, &length), nullptr) << path;
            SDL_FreeWAV(buffer);
        }
    }
    TTF_Font* font = TTF_OpenFont("resources/sans.ttf", 27);
    EXPECT_NE(font, nullptr) << TTF_GetError();
    if (font != nullptr) TTF_CloseFont(font);
    // An earlier load in this process may have added them already: then none is new,
    // so what counts is that every mapping for this system is known afterwards.
    EXPECT_GE(SDL_GameControllerAddMappingsFromFile("resources/mapping.txt"), 0) << SDL_GetError();
    std::ifstream mappings("resources/mapping.txt");
    std::string line;
    int forThisSystem = 0;
    while (std::getline(mappings, line)) {
        if (line.empty() || line[0] == '#' || line.find("platform:Linux") == std::string::npos) continue;
        ++forThisSystem;
        const SDL_JoystickGUID guid = SDL_JoystickGetGUIDFromString(line.substr(0, line.find(',')).c_str());
        char* known = SDL_GameControllerMappingForGUID(guid);
        EXPECT_NE(known, nullptr) << line;
        SDL_free(known);
    }
    EXPECT_GT(forThisSystem, 0);
}
