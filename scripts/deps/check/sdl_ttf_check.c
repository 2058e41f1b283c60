/* Smoke test of a library prefix: SDL starts, a window surface takes a line of text rendered
 * with SDL_ttf, and the text's pixel count and hash are printed, to compare across targets.
 * Run by scripts/deps/build-windows.sh (under wine) and build-web.sh (under node). */
#include <SDL.h>
#include <SDL_ttf.h>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

/* Latin with kerning pairs and Japanese, so that freetype and harfbuzz both have work. */
static const char kText[] = "AVATAR Wo ホップ 跳ね";

/* Whether this runs under node rather than in a page: SDL's emscripten video and joystick
 * code reach for the page's window and navigator, and throw rather than fail without them. */
static int withoutPage(void) {
#ifdef __EMSCRIPTEN__
    return emscripten_run_script_int("typeof window === 'undefined'");
#else
    return 0;
#endif
}

/* Starts video with SDL's choice of driver, or else with the dummy driver (at once without a
 * page). Returns 0 when neither starts. */
static int startVideo(void) {
    if (withoutPage()) SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return 1;
    fprintf(stderr, "video: %s; trying the dummy driver\n", SDL_GetError());
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

/* Reports whether one more subsystem starts; none of them is required. */
static void tryStart(Uint32 flag, const char* name) {
    if (SDL_InitSubSystem(flag) == 0)
        printf("%s: started\n", name);
    else
        printf("%s: not started (%s)\n", name, SDL_GetError());
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: sdl_ttf_check FONT\n");
        return 2;
    }
    if (!startVideo()) {
        fprintf(stderr, "video: %s\n", SDL_GetError());
        return 1;
    }
    printf("video: %s\n", SDL_GetCurrentVideoDriver());
    tryStart(SDL_INIT_AUDIO, "audio");
    if (withoutPage())
        printf("gamecontroller: not tried without a page\n");
    else
        tryStart(SDL_INIT_GAMECONTROLLER, "gamecontroller");
    tryStart(SDL_INIT_TIMER, "timer");

    SDL_version sdl;
    SDL_GetVersion(&sdl);
    const SDL_version* ttf = TTF_Linked_Version();
    printf("SDL %d.%d.%d, SDL_ttf %d.%d.%d\n", sdl.major, sdl.minor, sdl.patch, ttf->major,
           ttf->minor, ttf->patch);

    if (TTF_Init() != 0) {
        fprintf(stderr, "TTF_Init: %s\n", TTF_GetError());
        return 1;
    }
    TTF_Font* font = TTF_OpenFont(argv[1], 24);
    if (!font) {
        fprintf(stderr, "%s: %s\n", argv[1], TTF_GetError());
        return 1;
    }
    SDL_Color white = {255, 255, 255, 255};
    SDL_Surface* text = TTF_RenderUTF8_Solid(font, kText, white);
    if (!text) {
        fprintf(stderr, "TTF_RenderUTF8_Solid: %s\n", TTF_GetError());
        return 1;
    }
    /* An 8-bit surface: index 0 is the background. The hash is FNV-1a over the set/clear map. */
    long lit = 0;
    uint32_t hash = 2166136261u;
    for (int y = 0; y < text->h; ++y) {
        const Uint8* row = (const Uint8*)text->pixels + (size_t)y * (size_t)text->pitch;
        for (int x = 0; x < text->w; ++x) {
            lit += row[x] != 0;
            hash = (hash ^ (row[x] != 0)) * 16777619u;
        }
    }
    printf("text: %dx%d, %ld pixels set, hash %08x\n", text->w, text->h, lit, (unsigned)hash);

    SDL_Window* window = SDL_CreateWindow("sdl_ttf_check", SDL_WINDOWPOS_UNDEFINED,
                                          SDL_WINDOWPOS_UNDEFINED, text->w, text->h, 0);
    SDL_Surface* screen = window ? SDL_GetWindowSurface(window) : NULL;
    if (!screen || SDL_BlitSurface(text, NULL, screen, NULL) != 0 ||
        SDL_UpdateWindowSurface(window) != 0) {
        fprintf(stderr, "window surface: %s\n", SDL_GetError());
        return 1;
    }
    printf("window surface: %dx%d %s\n", screen->w, screen->h,
           SDL_GetPixelFormatName(screen->format->format));

    SDL_FreeSurface(text);
    TTF_CloseFont(font);
    TTF_Quit();
    SDL_DestroyWindow(window);
    SDL_Quit();
    return lit > 0 ? 0 : 1;
}
