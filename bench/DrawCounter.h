#pragma once

// The game's calls into SDL's renderer, counted since the process started.
// Only the program that links DrawCounter.cpp counts them.
struct DrawCalls {
    long copies = 0;       // SDL_RenderCopy, SDL_RenderCopyEx
    long fills = 0;        // SDL_RenderFillRect and SDL_RenderFillRects calls
    long rectsFilled = 0;  // the rectangles those calls filled
    long outlines = 0;     // rectangles, lines and points drawn
    long clears = 0;
    long colours = 0;      // SDL_SetRenderDrawColor
    long modulations = 0;  // SDL_SetTextureColorMod, SDL_SetTextureAlphaMod

    // Calls that draw something.
    long draws() const { return copies + fills + outlines + clears; }
};

DrawCalls drawCallsSoFar();

// What was called between two counts.
inline DrawCalls operator-(const DrawCalls& after, const DrawCalls& before) {
    DrawCalls d;
    d.copies = after.copies - before.copies;
    d.fills = after.fills - before.fills;
    d.rectsFilled = after.rectsFilled - before.rectsFilled;
    d.outlines = after.outlines - before.outlines;
    d.clears = after.clears - before.clears;
    d.colours = after.colours - before.colours;
    d.modulations = after.modulations - before.modulations;
    return d;
}
