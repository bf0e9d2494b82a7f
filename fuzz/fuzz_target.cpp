// One libFuzzer program per entry in entries.h, chosen by QUIBBIX_FUZZ_ENTRY.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/entries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string broken = quibbix::fuzz::QUIBBIX_FUZZ_ENTRY({data, size});
  if (!broken.empty()) {
    std::fprintf(stderr, "property broken: %s\n", broken.c_str());
    std::abort();
  }
  return 0;
}
