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
// a large page takes one fault for 2 MB. The heap is first filled up to a
// large-page boundary (that block stays allocated and is never touched),
// then grown by a block that the kernel is asked to back with large pages up
// to the heap's end; the block goes back to the allocator untouched, which
// then serves every allocation from it, and the heap's later growth keeps
// the advice.
void UseLargePagesForTheHeap()
{
    constexpr uintptr_t kLargePage = uintptr_t(2) << 20;
    ::mallopt(M_MMAP_THRESHOLD, 32 << 20); // blocks up to 32 MB from the heap
    ::mallopt(M_TRIM_THRESHOLD, INT_MAX); // never hand the heap back
    const uintptr_t top = reinterpret_cast<uintptr_t>(::sbrk(0));
    const uintptr_t boundary = (top + kLargePage - 1) & ~(kLargePage - 1);
    static void *filler = boundary - top > 4096 ? std::malloc(boundary - top - 4096) : nullptr;
    void *block = std::malloc(4 * kLargePage);
    if (!block)
        return;
    const uintptr_t start = (reinterpret_cast<uintptr_t>(block) + kLargePage - 1) & ~(kLargePage - 1);
    const uintptr_t end = reinterpret_cast<uintptr_t>(::sbrk(0));
    if (filler && end > start)
        ::madvise(reinterpret_cast<void *>(start), end - start, MADV_HUGEPAGE);
    std::free(block);
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
        static CCompiler *compiler = new CCompiler;
        compiler->Compile(argv[1]);
    } catch (const std::exception &e) {
        std::fprintf(stdout, "Fatal error: %s\n", e.what());
        return 1;
    }
    return 0;
}
