// Placeholder; replaced by the platform layer's implementation.
#include "platform/dialogs.h"
static MessageBoxHandler boxHandler;
static OpenFileHandler fileHandler;
int MessageBox(const std::string& t, const std::string& c, unsigned type) { return boxHandler ? boxHandler(t, c, type) : 1; }
bool GetOpenFileName(const OpenFileRequest& r, std::string& p) { return fileHandler ? fileHandler(r, p) : false; }
void SetMessageBoxHandler(MessageBoxHandler h) { boxHandler = std::move(h); }
void SetOpenFileHandler(OpenFileHandler h) { fileHandler = std::move(h); }
