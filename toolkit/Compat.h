// What an older C++ library (emscripten 3.1.6's libc++ 14, in the browser build) lacks of
// C++20, in hopla's own namespace: the standard's own where it has them, else an equal
// stand-in. Used by app/StateCheck.cpp (the hashes) and toolkit/PictureState.cpp.
#pragma once

#include <bit>
#include <cstring>
#include <memory>
#include <type_traits>

namespace hopla::compat {

#if defined(__cpp_lib_bit_cast)
using std::bit_cast;
#else
// The bit pattern of `from` as a `To` of the same size: what std::bit_cast gives.
template <class To, class From>
requires(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<To> &&
         std::is_trivially_copyable_v<From>) To bit_cast(const From& from) {
    To to;
    std::memcpy(&to, &from, sizeof(To));
    return to;
}
#endif

// An array of `size` elements left uninitialised, shared (std::make_shared_for_overwrite<T[]>
// where the library has it).
template <class T>
std::shared_ptr<T[]> MakeSharedArrayForOverwrite(std::size_t size) {
#if defined(__cpp_lib_smart_ptr_for_overwrite)
    return std::make_shared_for_overwrite<T[]>(size);
#else
    return std::shared_ptr<T[]>(new T[size]);
#endif
}

}  // namespace hopla::compat
