// Serves one generated file of the given size on 127.0.0.1 until standard input closes, for
// the download comparison. Prints the file's URL on its first line of output.
#include "support/FileServer.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: quorvex-bench-file-server SIZE_IN_BYTES\n";
        return 2;
    }
    const size_t size = std::stoull(argv[1]);
    std::string content(size, '\0');
    for (size_t i = 0; i < size; ++i)
        content[i] = static_cast<char>((i * 131 + i / 4093) & 0xFF);
    quorvex::test_support::FileServerOptions options;
    options.Content = std::make_shared<const std::string>(std::move(content));
    quorvex::test_support::FileServer server(options);
    std::cout << server.FileUrl() << std::endl;
    std::string ignored;
    while (std::getline(std::cin, ignored)) {
    }
    return 0;
}
