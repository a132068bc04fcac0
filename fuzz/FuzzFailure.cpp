// A broken property ends the process loudly: libFuzzer takes the abort as a finding.
#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>

void fuzzFailure(const char* property)
{
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}
