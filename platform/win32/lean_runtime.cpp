// The parts of the C++ runtime that the program replaces, so that the
// statically linked program stays small and needs nothing newer than the
// oldest Windows it runs on.
//
// The program raises no exceptions and is built without them. What the
// library would still throw (memory exhausted, a string grown past its
// largest size) would reach no handler and end the process through abort();
// these replacements end it the same way, without linking the machinery that
// throws, unwinds and reports: a third of the program file, and a threads
// library that imports functions the Windows 95 family lacks.
#include <cstdlib>
#include <new>

// The replaceable allocation function; the library's own throws bad_alloc.
void* operator new(std::size_t size) {
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    std::abort();
}

// The non-throwing form, which std::stable_sort's buffer asks for; the
// library's own catches what the throwing form raises.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size == 0 ? 1 : size);
}

// What the library's headers call where the standard says "throws". Defining
// them here keeps the library's own definitions, which throw, out of the link.
namespace std {

void __throw_bad_alloc() {
    abort();
}
void __throw_bad_array_new_length() {
    abort();
}
void __throw_bad_function_call() {
    abort();
}
void __throw_length_error(const char*) {
    abort();
}
void __throw_logic_error(const char*) {
    abort();
}
void __throw_out_of_range_fmt(const char*, ...) {
    abort();
}

}  // namespace std
