#include "cli/ReleaseCommand.h"

#include "cli/FetchOptions.h"
#include "download/upHTTP.h"
#include "download/upText.h"
#include "download/upUtils.h"
#include "platform/Crypto.h"
#include "platform/File.h"
#include "platform/FileReplace.h"
#include "upgrader/upSignedInfo.h"
#include "upgrader/upUpdateInfo.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

namespace quorvex::cli {
namespace {

inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
inline constexpr unsigned kOwnerReadWrite = 0600;

std::string ReadWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw Exception("cannot read " + path);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

// Replaces path's contents all at once, so a reader never sees half a file.
void WriteWhole(const std::string& path, const std::string& contents) {
    const std::string temporary = path + ".new";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << contents;
        if (!file.flush())
            throw Exception("cannot write " + temporary);
    }
    if (!platform::MoveFileOver(temporary, path))
        throw Exception("cannot replace " + path + ": " + platform::SystemErrorText());
}

// Creates the key file for the owner alone; an existing file is never overwritten.
void WriteNewKeyFile(const std::string& path, const std::string& contents) {
    std::FILE* file = std::fopen(path.c_str(), "wx");
    if (file == nullptr)
        throw Exception("cannot create " + path +
                        " (it may exist already; it is never "
                        "overwritten)");
    const bool written = platform::SetPermissionBits(path, kOwnerReadWrite) &&
                         std::fputs(contents.c_str(), file) >= 0;
    if (std::fclose(file) != 0 || !written)
        throw Exception("cannot write " + path);
}

std::string ReadPrivateKey(const std::string& path) {
    std::string text = ReadWhole(path);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    const auto key = platform::Base64Decode(text);
    if (!key || key->size() != platform::kEd25519KeySize)
        throw Exception(path + " holds no Ed25519 private key (base64 of 32 bytes)");
    return *key;
}

// The information file without its last signature entry; what followed that entry (added since
// the last signing) stays.
std::string WithoutSignature(std::string_view Text) {
    const TInfoSignature parts = SplitInfoSignature(Text);
    if (!parts.Signature)
        return std::string(Text);
    std::string_view tail =
        Text.substr(parts.SignedText.size() + std::string_view(kSignatureMarker).size() +
                    parts.Signature->size());
    tail.remove_prefix(std::min(tail.find_first_not_of("\r\n"), tail.size()));
    return std::string(parts.SignedText) + std::string(tail);
}

struct ReleaseOptions {
    std::string command;
    std::string file;
    std::string key;
    std::string files;
};

ReleaseOptions ParseReleaseOptions(const std::vector<std::string>& arguments) {
    if (arguments.empty())
        throw EUsageError("a command is needed: keygen or sign");
    ReleaseOptions options{arguments[0], {}, {}, {}};
    if (options.command != "keygen" && options.command != "sign")
        throw EUsageError("unknown command '" + options.command + "'");
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--key" && hasValue)
            options.key = arguments[++i];
        else if (argument == "--files" && hasValue && options.command == "sign")
            options.files = arguments[++i];
        else if (options.command == "sign" && options.file.empty() && !argument.starts_with("-"))
            options.file = argument;
        else
            throw EUsageError("unknown argument '" + argument + "'");
    }
    if (options.command == "sign" &&
        (options.file.empty() || options.key.empty() || options.files.empty()))
        throw EUsageError("sign needs FILE, --key KEYFILE and --files DIR");
    if (options.key.empty())
        options.key = kDefaultKeyFile;
    return options;
}

void Keygen(const ReleaseOptions& options) {
    const platform::Ed25519Key key = platform::GenerateEd25519Key();
    WriteNewKeyFile(options.key, platform::Base64Encode(key.PrivateKey) + "\n");
    const std::string publicKey = platform::Base64Encode(key.PublicKey);
    std::cout << "private key written to " << options.key << " (keep it secret)\n"
              << "public key: " << publicKey << "\n"
              << "build Quorvex with it: cmake -DQUORVEX_UPDATE_KEY=" << publicKey << " ...\n";
}

// The keys "urlN" the text holds, N being digits, in lower case.
std::vector<std::string> NumberedURLKeys(std::string_view Text) {
    const std::string lower = text::LowerCase(Text);
    std::vector<std::string> keys;
    for (auto at = lower.find("#url"); at != std::string::npos; at = lower.find("#url", at + 1)) {
        auto end = at + 4;
        while (end < lower.size() && std::isdigit(static_cast<unsigned char>(lower[end])))
            ++end;
        if (end > at + 4 && end < lower.size() && lower[end] == '=')
            keys.push_back(lower.substr(at + 1, end - at - 1));
    }
    return keys;
}

void Sign(const ReleaseOptions& options) {
    const std::string text = ReadWhole(options.file);
    for (const std::string& warning : PublisherWarnings(text))
        std::cerr << "quorvex-release: warning: " << warning << "\n";
    const std::string signedText = SignInfoText(text, ReadPrivateKey(options.key), options.files);
    WriteWhole(options.file, signedText);
    std::cout << "signed " << options.file << " for " << InfoFileList(signedText).size()
              << " file(s)\n";
}

} // namespace

std::vector<std::string> PublisherWarnings(std::string_view Text) {
    std::vector<std::string> warnings;
    const auto read = InfoFileKeys(Text);
    for (const std::string& key : NumberedURLKeys(Text))
        if (std::find(read.begin(), read.end(), key) == read.end())
            warnings.push_back("#" + key +
                               "= is never read: the list is #url, #url0, then the "
                               "numbers that continue the count of the entries before");
    const std::string version = InfoValue(Text, "version", false);
    if (version.find_first_not_of("0123456789.") != std::string::npos)
        warnings.push_back("#version=" + version +
                           " holds more than digits and dots: it is compared as text and may "
                           "never count as newer");
    return warnings;
}

std::string SetInfoValue(std::string_view Text, const std::string& Key, const std::string& Value) {
    const std::string marker = "#" + Key + "=";
    const auto found = text::LowerCase(Text).find(marker);
    if (found == std::string::npos) {
        std::string text(Text);
        if (!text.empty() && text.back() != '\n')
            text += '\n';
        return text + marker + Value + "\n";
    }
    const auto start = found + marker.size();
    auto end = start;
    while (end < Text.size() && static_cast<unsigned char>(Text[end]) >= 32)
        ++end;
    return std::string(Text.substr(0, start)) + Value + std::string(Text.substr(end));
}

std::string SignInfoText(std::string_view Text, const std::string& PrivateKey,
                         const std::string& FilesFolder) {
    std::string text = WithoutSignature(Text);
    const auto keys = InfoFileKeys(text);
    if (keys.empty())
        throw Exception("the information file lists no file (#url=...)");
    for (const auto& key : keys) {
        const std::string url = InfoValue(text, key, false);
        const std::string name = FileNameFromURL(url);
        const std::string path = FilesFolder.empty() ? name : FilesFolder + "/" + name;
        const auto hash = platform::FileSha256Hex(path);
        if (name.empty() || !hash)
            throw Exception("no file " + path + " for #" + key + "=" + url);
        text = SetInfoValue(text, HashKeyFor(key), *hash);
    }
    if (!text.empty() && text.back() != '\n')
        text += '\n';
    return text + kSignatureMarker +
           platform::Base64Encode(platform::SignEd25519(PrivateKey, text)) + "\n";
}

int RunRelease(const std::vector<std::string>& Arguments) {
    ReleaseOptions options;
    try {
        options = ParseReleaseOptions(Arguments);
    } catch (const EUsageError& error) {
        std::cerr << "quorvex-release: " << error.what() << "\n" << kReleaseUsage << "\n";
        return kExitUsage;
    }
    try {
        if (options.command == "keygen")
            Keygen(options);
        else
            Sign(options);
    } catch (const Exception& failure) {
        std::cerr << "quorvex-release: " << failure.what() << "\n";
        return kExitFailure;
    }
    return 0;
}

} // namespace quorvex::cli
