// velc <source>: compiles one Velmo program into a HEX file and a listing.
// The exit code is 0 whether or not the program had errors; callers read
// the messages.
#include "Compiler.h"

#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The program's name as it is called on this platform.
#ifdef _WIN32
const char kUsage[] = "Usage: velc.exe <source>\n";
#else
const char kUsage[] = "Usage: velc <source>\n";
#endif

// Backs the heap with large pages. On a first touch, memory costs a page
// fault per 4 KB page, which is most of velc's run on a full module program;
// a large page takes one fault for 2 MB. The free end of the heap (malloc's
// top chunk, which ends at the program break) is first filled up to just
// below the first large-page boundary beyond the break by a block that stays
// allocated and is never touched; malloc grows the heap for it, by a
// generous pad, and the kernel is asked to back everything from the boundary
// to the heap's end with large pages. A large page is only used where it
// fits the heap at its first touch: hence a boundary beyond the break, so
// that nothing above it is touched before the heap has grown. Every later
// allocation is then served from there, and the heap's later growth keeps
// the advice.
void UseLargePagesForTheHeap()
{
    constexpr uintptr_t kLargePage = uintptr_t(2) << 20;
    // The filler ends a little below the boundary: the header that malloc
    // writes behind it, while the heap is not yet advised, must not touch
    // the first large page, or that page is backed by small ones.
    constexpr uintptr_t kChunkRoom = 64;
    ::mallopt(M_MMAP_THRESHOLD, 32 << 20); // blocks up to 32 MB from the heap
    ::mallopt(M_TRIM_THRESHOLD, INT_MAX); // never hand the heap back
    ::mallopt(M_TOP_PAD, 4 * kLargePage); // grow the heap in large steps
    const uintptr_t brk = reinterpret_cast<uintptr_t>(::sbrk(0));
    const uintptr_t topStart = brk - ::mallinfo2().keepcost;
    uintptr_t boundary = (brk + kLargePage - 1) & ~(kLargePage - 1);
    if (boundary - brk < 4096)
        boundary += kLargePage;
    static void *filler = std::malloc(boundary - topStart - kChunkRoom);
    const uintptr_t end = reinterpret_cast<uintptr_t>(::sbrk(0));
    if (filler && end > boundary)
        ::madvise(reinterpret_cast<void *>(boundary), end - boundary, MADV_HUGEPAGE);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    UseLargePagesForTheHeap();
    // A reader of the messages that goes away (velc ... | head) makes the
    // writes fail instead of ending velc before it has written its files.
    std::signal(SIGPIPE, SIG_IGN);
    try {
        // Never destroyed: the process ends right after the run, and freeing
        // every line of a large program one by one would only cost time. The
        // static pointer keeps the memory reachable for leak checkers.
        static CCompiler *compiler = new CCompiler(stdout);
        compiler->Compile(argv[1]);
    } catch (const std::exception &e) {
        std::fprintf(stdout, "Fatal error: %s\n", e.what());
        return 1;
    }
    return 0;
}
