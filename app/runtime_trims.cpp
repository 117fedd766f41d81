// The C++ runtime pieces velotide.exe supplies itself, in place of
// libstdc++'s, so that the static runtime's exception machinery stays out of
// the executable (with winpthreads, which it locks with, and the copy-on-write
// strings and error classes its throw helpers build: over half of the
// program's size). The program catches no exception, so every throw ends the
// process anyway; these end it at once. Linked into velotide.exe only: tests
// keep the library's own versions.
//
// A helper the code starts to need and that is missing here brings back
// libstdc++'s functexcept.o, whose definitions then collide with these at
// link time: add the new helper below.
#include <bits/functexcept.h>

#include <cstdlib>
#include <new>

namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
}  // namespace std

// Out of memory ends the program, as the uncaught std::bad_alloc did; the
// library's own operator new would throw it and so keep the exception
// machinery in. The program sets no new-handler, so there is none to call.
void* operator new(std::size_t size) {
    if (void* block = std::malloc(size ? size : 1)) return block;
    std::abort();
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
