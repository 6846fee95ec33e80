// The address sanitizer's defaults for every fuzz target (ASAN_OPTIONS in the
// environment still overrides them).
//
// The sanitizer keeps the stack of every allocation and release for its
// reports, each distinct stack once, for as long as the process runs. Stacks
// are taken by walking frame pointers, which the system's Qt libraries do not
// keep, so a walk that passes through Qt reads arbitrary words as return
// addresses and nearly every allocation made inside Qt (every string a
// reader decodes) comes out as a stack never seen before: a fuzzer running
// for hours grew by hundreds of bytes a run until it reached its memory
// limit. Keeping only the allocating function's own address bounds what is
// kept, and costs nothing in what is found; to see whole stacks for a
// finding, run its input again with ASAN_OPTIONS=malloc_context_size=30.
extern "C" const char* __asan_default_options() { return "malloc_context_size=1"; }
