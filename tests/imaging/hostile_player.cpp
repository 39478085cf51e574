// Stands in for the metafile player in tests: misbehaves as its first
// argument says, so that the caller's limits can be seen to hold.
//   crash   reads its input, then dies on a signal (abort)
//   hang    reads nothing and never ends
//   grow    keeps taking memory
//   echo    writes its input back and exits 0
//   fail    exits 2

#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 1;
    const char* mode = argv[1];
    char buffer[4096];
    if (std::strcmp(mode, "hang") == 0)
        while (true)
            pause();
    if (std::strcmp(mode, "grow") == 0) {
        std::vector<char*> blocks;
        while (true) {
            char* block = static_cast<char*>(std::malloc(16 << 20));
            if (!block)
                return 3;
            std::memset(block, 1, 16 << 20);
            blocks.push_back(block);
        }
    }
    ssize_t got = 0;
    while ((got = read(0, buffer, sizeof buffer)) > 0)
        if (std::strcmp(mode, "echo") == 0 && write(1, buffer, std::size_t(got)) != got)
            return 1;
    if (std::strcmp(mode, "crash") == 0)
        std::abort();
    return std::strcmp(mode, "fail") == 0 ? 2 : 0;
}
