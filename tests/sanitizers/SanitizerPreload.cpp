// Preloaded into every program of a sanitizer test run, to tell other people's findings apart
// from Tivora's own.

#include <dlfcn.h>
#include <link.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

namespace {

struct CodeRange {
    std::uintptr_t begin = 0;
    std::uintptr_t end = 0;
};

int findWebEngineCore(dl_phdr_info* info, std::size_t /*size*/, void* data) {
    if (info->dlpi_name == nullptr ||
        std::strstr(info->dlpi_name, "libQt6WebEngineCore.so") == nullptr) {
        return 0;
    }
    auto* range = static_cast<CodeRange*>(data);
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& header = info->dlpi_phdr[i];
        if (header.p_type == PT_LOAD && (header.p_flags & PF_X) != 0) {
            const std::uintptr_t begin = info->dlpi_addr + header.p_vaddr;
            range->begin = range->begin == 0 || begin < range->begin ? begin : range->begin;
            range->end = begin + header.p_memsz > range->end ? begin + header.p_memsz : range->end;
        }
    }
    return 1;
}

// Linked in as the program starts, so one look when first needed finds it or finds it absent.
bool calledFromWebEngineCore(void* caller) {
    static const CodeRange range = [] {
        CodeRange found;
        dl_iterate_phdr(findWebEngineCore, &found);
        return found;
    }();
    const auto address = reinterpret_cast<std::uintptr_t>(caller);
    return address >= range.begin && address < range.end;
}

using SizedDelete = void (*)(void*, std::size_t);

SizedDelete next(const char* name) {
    return reinterpret_cast<SizedDelete>(dlsym(RTLD_NEXT, name));
}

}  // namespace

// Chromium inside Qt WebEngine frees some objects through a base of another size, in its own
// teardown. Its sized deletes go out unsized, so AddressSanitizer's new/delete type check stays
// on for every other caller, Tivora's code among them.
void operator delete(void* pointer, std::size_t size) noexcept {
    static const SizedDelete sized = next("_ZdlPvm");
    if (calledFromWebEngineCore(__builtin_return_address(0))) {
        ::operator delete(pointer);
    } else {
        sized(pointer, size);
    }
}

void operator delete[](void* pointer, std::size_t size) noexcept {
    static const SizedDelete sized = next("_ZdaPvm");
    if (calledFromWebEngineCore(__builtin_return_address(0))) {
        ::operator delete[](pointer);
    } else {
        sized(pointer, size);
    }
}

// Libraries are never unloaded, so a leak inside a plug-in its host closed (the GL driver, say)
// still names its library and can be told apart from Tivora's own.
extern "C" int dlclose(void* /*handle*/) {
    return 0;
}
