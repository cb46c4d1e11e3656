// Hardstop: powers the machine off. Lorvan starts it from its program folder when the exit key
// was pressed once, and does not wait for it.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

int main() {
  char program[] = "systemctl";
  char action[] = "poweroff";
  char* args[] = {program, action, nullptr};
  execvp(program, args);
  std::fprintf(stderr, "Hardstop: cannot run \"systemctl poweroff\": %s\n", std::strerror(errno));
  return 1;
}
