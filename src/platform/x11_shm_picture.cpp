#include "platform/x11_shm_picture.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

struct X11ShmPicture::Shared {
    Display* display = nullptr;
    ::Window window = 0;
    GC gc = nullptr;
    XImage* image = nullptr;
    XShmSegmentInfo segment{};
    bool attached = false;

    ~Shared() {
        if (attached) {
            XShmDetach(display, &segment);
            // The server lets go of the segment before it is unmapped here.
            XSync(display, False);
        }
        if (image) {
            image->data = nullptr;  // the segment's, unmapped below
            XDestroyImage(image);
        }
        if (segment.shmaddr) shmdt(segment.shmaddr);
        if (gc) XFreeGC(display, gc);
    }
};

namespace {

bool attachRefused = false;

int NoteAttachRefused(Display*, XErrorEvent*) {
    attachRefused = true;
    return 0;
}

// A server on another machine cannot see the segment and refuses it with an error, which
// would otherwise end the game.
bool AttachSegment(Display* display, XShmSegmentInfo& segment) {
    XSync(display, False);
    attachRefused = false;
    XErrorHandler previous = XSetErrorHandler(NoteAttachRefused);
    const Bool sent = XShmAttach(display, &segment);
    XSync(display, False);
    XSetErrorHandler(previous);
    return sent && !attachRefused;
}

bool ShowsXrgb(const XImage& image) {
    return image.bits_per_pixel == 32 && image.byte_order == LSBFirst && image.red_mask == 0xff0000 &&
           image.green_mask == 0x00ff00 && image.blue_mask == 0x0000ff;
}

}  // namespace

std::unique_ptr<X11ShmPicture> X11ShmPicture::Create(SDL_Window* window, int width, int height) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || width <= 0 || height <= 0 || !SDL_GetWindowWMInfo(window, &info) ||
        info.subsystem != SDL_SYSWM_X11)
        return nullptr;
    auto shared = std::make_unique<Shared>();
    Shared& s = *shared;
    s.display = info.info.x11.display;
    s.window = info.info.x11.window;
    XWindowAttributes attributes;
    if (!XShmQueryExtension(s.display) || !XGetWindowAttributes(s.display, s.window, &attributes)) return nullptr;
    s.image = XShmCreateImage(s.display, attributes.visual, attributes.depth, ZPixmap, nullptr, &s.segment,
                              width, height);
    if (!s.image || !ShowsXrgb(*s.image)) return nullptr;
    s.segment.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(s.image->bytes_per_line) * height, IPC_CREAT | 0600);
    if (s.segment.shmid < 0) return nullptr;
    void* address = shmat(s.segment.shmid, nullptr, 0);
    if (address != reinterpret_cast<void*>(-1)) {
        s.segment.shmaddr = s.image->data = static_cast<char*>(address);
        s.segment.readOnly = True;
        s.attached = AttachSegment(s.display, s.segment);
    }
    // Marked for removal at once: the segment goes when both sides let go, even if the game is killed.
    shmctl(s.segment.shmid, IPC_RMID, nullptr);
    if (!s.attached) return nullptr;
    s.gc = XCreateGC(s.display, s.window, 0, nullptr);
    SDL_Surface* pixels = SDL_CreateRGBSurfaceWithFormatFrom(s.image->data, width, height, 32,
                                                             s.image->bytes_per_line, SDL_PIXELFORMAT_XRGB8888);
    if (!s.gc || !pixels) return nullptr;
    return std::unique_ptr<X11ShmPicture>(new X11ShmPicture(std::move(shared), pixels));
}

X11ShmPicture::X11ShmPicture(std::unique_ptr<Shared> shared, SDL_Surface* pixels)
    : shared_(std::move(shared)), pixels_(pixels) {}

X11ShmPicture::~X11ShmPicture() { SDL_FreeSurface(pixels_); }

// Most frames do not wait for the server to answer: it copies the pixels as it reads the
// request, and the game draws its next frame a frame interval later. A server that far
// behind would show one frame partly drawn, and the next request shows it whole. Every
// eighth frame waits, so a server slower than the game is never more than eight frames
// (a quarter of a second) behind, and the game slows to its pace.
void X11ShmPicture::Show() {
    constexpr int kFramesBetweenWaits = 8;
    XShmPutImage(shared_->display, shared_->window, shared_->gc, shared_->image, 0, 0, 0, 0,
                 static_cast<unsigned>(pixels_->w), static_cast<unsigned>(pixels_->h), False);
    framesSinceWait_ = (framesSinceWait_ + 1) % kFramesBetweenWaits;
    if (framesSinceWait_ == 0) {
        XSync(shared_->display, False);
    } else {
        XFlush(shared_->display);
    }
}

int X11ShmPicture::SegmentId() const { return shared_->segment.shmid; }
