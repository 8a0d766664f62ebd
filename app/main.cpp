// Entry point of Kestrel.  Start-up grows here step by step; for now the
// program only proves that the build and the shipped files are in place.
#include <cstdio>

int main() {
  std::fprintf(stderr, "Kestrel: the main window is not built yet.\n");
  return 1;
}
