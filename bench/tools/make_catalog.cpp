// Writes the benchmarks' synthetic catalog of a given size to a catalog file, so that
// whole-process measurements (orvan-cli against other programs) read the same entries as
// the in-process benchmarks.
#include "../catalog_data.h"
#include "core/catalog/catalog_file.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: orvan_make_catalog COUNT FILE\n");
        return 2;
    }
    char* end = nullptr;
    const unsigned long long count = std::strtoull(argv[1], &end, 10);
    if (end == argv[1] || *end != '\0') {
        std::fprintf(stderr, "orvan_make_catalog: not a count: %s\n", argv[1]);
        return 2;
    }
    const std::string text =
        orvan::SerializeCatalog(orvan::bench::MakeCatalog(static_cast<std::size_t>(count)));
    std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "orvan_make_catalog: unable to write to %s\n", argv[2]);
        return 1;
    }
    return 0;
}
