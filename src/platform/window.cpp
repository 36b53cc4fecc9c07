// Placeholder; replaced by the platform layer's implementation.
#include "platform/window.h"
struct Window::Impl {};
std::unique_ptr<Window> Window::Create(WindowProc, const std::string&, const std::string&, int, int, int, int) { return nullptr; }
Window::~Window() = default;
bool Window::PeekMessage(Message&) { return false; }
void Window::WaitForEvent(int) {}
void Window::PostQuitMessage(int) {}
LParam Window::DispatchMessage(const Message&) { return 0; }
LParam Window::DefWindowProc(std::uint32_t, WParam, LParam) { return 0; }
void Window::Destroy() { destroyed_ = true; }
int Window::Present(const Surface&) { return 0; }
void Window::Move(int, int, int, int) {}
Point Window::Position() const { return {0, 0}; }
Point Window::ClientToScreen(Point p) const { return p; }
unsigned char Window::KeyState(int) const { return 0; }
void Window::TakeFocus() {}
int Window::TrackPopupMenu(const std::string&, const std::vector<PopupItem>&, Point) { return 0; }
Window* Window::Current() { return nullptr; }
int ScreenWidth() { return 1280; }
int ScreenHeight() { return 1024; }
