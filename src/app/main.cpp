#include "app/app.h"
int main() { return RunGame(); }
