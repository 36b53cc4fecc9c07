// The window's popup menu, drawn inside the window like a classic one and modal while open.
#include <SDL.h>

#include <algorithm>

#include "platform/draw_context.h"
#include "platform/font.h"
#include "platform/window_impl.h"

namespace {

// How often the menu reads the pads while it waits for the pointer.
constexpr int kMenuPadReadMilliseconds = 33;
constexpr Colorref kMenuFace = Rgb(192, 192, 192);
constexpr Colorref kMenuShadow = Rgb(128, 128, 128);
constexpr Colorref kMenuText = Rgb(0, 0, 0);
constexpr Colorref kMenuGreyText = Rgb(128, 128, 128);
constexpr Colorref kMenuHighlight = Rgb(0, 0, 128);
constexpr Colorref kMenuHighlightText = Rgb(255, 255, 255);
constexpr int kRowHeight = 20;
constexpr int kTextIndent = 20;
constexpr int kFrame = 2;  // the outline and the gap around the rows

struct PopupLayout {
    Rect box;          // the whole menu, in the game's pixels of the window
    int firstItemTop;  // top of item 0
};

PopupLayout LayOutPopup(const Font& font, const std::vector<PopupItem>& items, Point at, int windowWidth,
                        int windowHeight) {
    int textWidth = 0;
    for (const PopupItem& item : items) textWidth = std::max(textWidth, font.TextWidth(item.text));
    const int width = std::max(textWidth + 2 * kTextIndent, 80);
    const int height = kFrame + kRowHeight * static_cast<int>(items.size()) + kFrame;
    // Opens right of and below the point; where there is no room it opens left of or
    // above it, so the pointer never starts on an item.
    const int left = std::max(0, at.x + width <= windowWidth ? at.x : at.x - width);
    const int top = std::max(0, at.y + height <= windowHeight ? at.y : at.y - height);
    return PopupLayout{Rect{left, top, left + width, top + height}, top + kFrame};
}

// The item under a window point, -1 for none.
int ItemAt(const PopupLayout& layout, int count, int x, int y) {
    if (x < layout.box.left || x >= layout.box.right || y < layout.firstItemTop) return -1;
    const int row = (y - layout.firstItemTop) / kRowHeight;
    return row < count ? row : -1;
}

// The window as it was before the menu, with the menu (drawn at the game's scale) over it.
void ShowInWindow(SDL_Window* window, const Surface& before, const Surface* menu, Point at, int scale) {
    SDL_Surface* target = SDL_GetWindowSurface(window);
    if (!target || SDL_BlitSurface(before.Sdl(), nullptr, target, nullptr) != 0) return;
    if (menu) ShowScaled(menu->Sdl(), 0, 0, menu->Width(), menu->Height(), target, PicturePlacement{scale, at.x, at.y});
    SDL_UpdateWindowSurface(window);
}

// The menu on a surface of its own size.
void DrawPopup(Surface& menu, const std::vector<PopupItem>& items, int hover) {
    DrawContext dc(menu);
    const int width = menu.Width();
    dc.SelectPen(CreatePen(1, kMenuShadow));
    dc.SelectBrush(CreateSolidBrush(kMenuFace));
    dc.Rectangle(0, 0, width, menu.Height());
    dc.SelectFont(Font::Default());

    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        const int top = kFrame + i * kRowHeight;
        const bool lit = i == hover;
        const Colorref face = lit ? kMenuHighlight : kMenuFace;
        menu.FillRect(Rect{kFrame, top, width - kFrame, top + kRowHeight}, face);
        dc.SetBkColor(face);
        dc.SetTextColor(items[i].greyed ? kMenuGreyText : lit ? kMenuHighlightText : kMenuText);
        dc.TextOut(kTextIndent, top + 2, items[i].text);
    }
}

}  // namespace

// The menu is laid out and drawn in game pixels and shown at the picture's scale; the
// pointer's window pixels are turned into game pixels to find the item under it.
int Window::TrackPopupMenu(const std::vector<PopupItem>& items, Point screen) {
    if (!impl_->sdl) return 0;
    // The menu draws in the window's pixels: no frame may be composed there meanwhile.
    impl_->TakeBackLentPixels();
    SDL_Surface* target = impl_->WindowPixels();
    auto font = Font::Default();
    if (!target || !font) return 0;
    const Point window = Position();
    const PopupLayout layout =
        LayOutPopup(*font, items, Point{screen.x - window.x, screen.y - window.y}, impl_->width, impl_->height);
    auto saved = Surface::Create(target->w, target->h);
    auto menu = Surface::Create(layout.box.Width(), layout.box.Height());
    if (!saved || !menu) return 0;
    SDL_BlitSurface(target, nullptr, saved->Sdl(), nullptr);

    const PicturePlacement picture = impl_->Placement(target->w, target->h);
    const Point menuAt{picture.x + layout.box.left * picture.scale, picture.y + layout.box.top * picture.scale};
    const int count = static_cast<int>(items.size());
    const auto enabledAt = [&](int windowX, int windowY) {
        const Point at = impl_->GamePoint(windowX, windowY);
        const int i = ItemAt(layout, count, at.x, at.y);
        return i >= 0 && !items[i].greyed ? i : -1;
    };
    const auto insideMenu = [&](int windowX, int windowY) {
        const Point at = impl_->GamePoint(windowX, windowY);
        return layout.box.Contains(at.x, at.y);
    };
    const auto show = [&](int hover) {
        DrawPopup(*menu, items, hover);
        ShowInWindow(impl_->sdl, *saved, menu.get(), menuAt, picture.scale);
    };

    int hover = -1;
    int chosen = 0;
    bool open = true;
    // The release of the click that opened the menu chooses nothing unless the pointer
    // moved first.
    bool armed = false;
    // The click that opened the menu also waits in SDL's queue as SDL's own button event;
    // near the window's right or bottom edge the menu opens left of or above it, so that
    // copy would count as a click outside and close the menu at once. It is passed over
    // (emptying the queue instead would drop what came after the click too).
    bool openingClickPassed = !impl_->pointerFromX11;
    show(hover);
    SDL_Event event;
    while (open) {
        // Pads are read here too, so that a button pressed while the menu is open is spent on
        // it, as a key is, instead of reaching the game once the menu has closed.
        ReadGamepads();
        if (!SDL_WaitEventTimeout(&event, kMenuPadReadMilliseconds)) continue;
        int newHover = hover;
        switch (event.type) {
        case SDL_MOUSEMOTION:
            armed = true;
            newHover = enabledAt(event.motion.x, event.motion.y);
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (!openingClickPassed && event.button.button == SDL_BUTTON_RIGHT) {
                openingClickPassed = true;
                break;
            }
            armed = true;
            if (!insideMenu(event.button.x, event.button.y)) open = false;
            break;
        case SDL_MOUSEBUTTONUP: {
            const int i = enabledAt(event.button.x, event.button.y);
            if (armed && i >= 0) {
                chosen = items[i].command;
                open = false;
            }
            break;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            Message unused;
            impl_->TranslateKey(event.key, unused);  // keeps Ctrl and Alt up to date
            // Esc leaves the menu; so does Alt, as it leaves menu mode.
            const SDL_Keycode sym = event.key.keysym.sym;
            if (event.type == SDL_KEYDOWN && (sym == SDLK_ESCAPE || sym == SDLK_LALT || sym == SDLK_RALT))
                open = false;
            break;
        }
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                SDL_PushEvent(&event);  // the game still has to see it
                open = false;
            } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED) {
                show(hover);
            }
            break;
        case SDL_QUIT:
            SDL_PushEvent(&event);
            open = false;
            break;
        default: {
            // Pad buttons choose nothing in the menu, but their state is kept.
            std::vector<PadButtonEvent> unused;
            impl_->pads.Handle(event, SDL_GetTicks64(), unused);
            break;
        }
        }
        if (open && newHover != hover) {
            hover = newHover;
            show(hover);
        }
    }
    // A button held through the menu was never reported down: it must not repeat.
    impl_->pads.StopRepeating();
    // Take the menu away at once; the next frame redraws the window anyway.
    ShowInWindow(impl_->sdl, *saved, nullptr, menuAt, picture.scale);
    return chosen;
}
