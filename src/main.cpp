#include <cstdio>

int main() {
  std::puts("Zelgora");
  return 0;
}
