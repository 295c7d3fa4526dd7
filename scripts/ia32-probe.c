/* Exits 0 when this kernel lets a 64-bit process run 32-bit code, which Wine's WoW64
   mode needs for a PE32 program: a far return into the 32-bit user code segment and
   back. Kernels built or booted without IA-32 emulation mark that segment not present,
   and the far return faults. Built with -no-pie -static so that the code lies below
   4 GiB. */
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

static void refused(int sig) {
  (void)sig;
  _exit(1);
}

int main(void) {
  signal(SIGSEGV, refused);
  signal(SIGBUS, refused);
  signal(SIGILL, refused);
  char *stack = mmap(0, 65536, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT, -1, 0);
  if (stack == MAP_FAILED) return 1;
  unsigned long top = (unsigned long)(stack + 65536);
  __asm__ volatile(
      "movq %%rsp, %%rbx\n"
      "movq %0, %%rsp\n"
      "pushq $0x23\n" /* the 32-bit user code segment */
      "leaq 1f(%%rip), %%rax\n"
      "pushq %%rax\n"
      "lretq\n"
      ".code32\n"
      "1: pushl $0x33\n" /* back to the 64-bit one */
      "call 2f\n"
      "2: addl $(3f-2b), (%%esp)\n"
      "lret\n"
      ".code64\n"
      "3: movq %%rbx, %%rsp\n"
      :
      : "r"(top)
      : "rax", "rbx", "memory");
  return 0;
}
