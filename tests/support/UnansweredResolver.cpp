// Preloaded (LD_PRELOAD) into a program under test: names ending in ".unanswered" get no answer
// from the resolver, ever, as behind a name server that drops every query; every other name
// resolves as usual.
#include <dlfcn.h>
#include <netdb.h>
#include <string_view>
#include <unistd.h>

extern "C" int getaddrinfo(const char* node, const char* service, const addrinfo* hints,
                           addrinfo** found) {
    if (node != nullptr && std::string_view(node).ends_with(".unanswered"))
        for (;;)
            pause();
    using Resolver = int (*)(const char*, const char*, const addrinfo*, addrinfo**);
    static const auto resolve = reinterpret_cast<Resolver>(dlsym(RTLD_NEXT, "getaddrinfo"));
    return resolve(node, service, hints, found);
}
