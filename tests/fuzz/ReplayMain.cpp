// The main of a fuzz harness built without libFuzzer: runs LLVMFuzzerTestOneInput once on each file named,
// and on each file of each folder named (a seed corpus), as libFuzzer does with -runs=0. Arguments beginning
// with "-" are libFuzzer's options and are left alone. A harness that finds a fault aborts.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);

namespace {

void RunOn(const std::filesystem::path& File) {
    std::ifstream in(File, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

} // namespace

int main(int argc, char** argv) {
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.starts_with("-"))
            continue;
        const std::filesystem::path path(argument);
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path))
                if (entry.is_regular_file()) {
                    RunOn(entry.path());
                    ++inputs;
                }
        } else {
            RunOn(path);
            ++inputs;
        }
    }
    std::printf("%d inputs replayed\n", inputs);
    return inputs > 0 ? 0 : 1;
}
