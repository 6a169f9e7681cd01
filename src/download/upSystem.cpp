#include "download/upStreams.h"
#include "download/upUtils.h"
#include "platform/Resources.h"
#include "platform/Shell.h"
#include "platform/SignalWait.h"
#include "platform/UiThread.h"

namespace quorvex {
namespace {

std::string WithScheme(const std::string& url) {
    return url.find("://") == std::string::npos ? "http://" + url : url;
}

} // namespace

void OpenURL(const std::string& URL, bool UseHtmlHandler) {
    const std::string address = WithScheme(URL);
    const std::string handler = UseHtmlHandler ? ShellOpenCommand(".html") : std::string();
    if (!handler.empty() && platform::StartProgram(handler, address))
        return;
    platform::OpenWithDesktop(address);
}

std::string ShellOpenCommand(const std::string& Extension) {
    if (Extension.empty() || Extension == ".")
        return {};
    std::string command = platform::DefaultOpenCommand(Extension);
    std::string parameters;
    SplitCommandLine(command, parameters);
    return command;
}

bool IsOnline() {
    return HasNetworkAddress();
}

bool HasNetworkAddress() {
    return platform::HasNonLoopbackAddress();
}

bool SaveResourceToStream(const std::string& Name, const std::string& ResourceType,
                          TStream* Stream) {
    if (Stream == nullptr)
        return false;
    const auto bytes = platform::LoadResource(Name, ResourceType);
    if (!bytes || bytes->empty())
        return false;
    try {
        Stream->Write(bytes->data(), bytes->size());
    } catch (const EStreamError&) {
        return false; // reported by the result, as every utility routine reports failure
    }
    return true;
}

void CloseApplication() {
    platform::CloseMainWindows();
    platform::TerminateApplication();
}

void WaitForSignal(TSignalEvent& Event, int TimeoutMs, bool StopWhenTerminating) {
    Event = platform::CreateSignalWait();
    const TSignalEvent handle = Event;
    platform::RunSignalWait(handle, TimeoutMs, StopWhenTerminating);
    Event = kInvalidSignalEvent;
}

void Signal(TSignalEvent& Event) {
    if (Event != 0 && Event != kInvalidSignalEvent)
        platform::SignalWait(Event);
}

} // namespace quorvex
