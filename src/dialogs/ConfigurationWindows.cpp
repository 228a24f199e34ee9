#include "dialogs/ConfigurationWindows.h"

#include <map>
#include <string>

#include "platform/Forms.h"

namespace {

// Owned by a registered window: freed with it, it takes the window out of the registry.
class RegistrationGuard : public TComponent {
public:
    explicit RegistrationGuard(TForm* Window) : TComponent(Window), FWindow(Window) {}
    ~RegistrationGuard() override { UnregisterConfigurationWindow(FWindow); }

private:
    TForm* FWindow;
};

std::map<std::string, TForm*, std::less<>>& registry() {
    static std::map<std::string, TForm*, std::less<>> windows;
    return windows;
}

} // namespace

void RegisterConfigurationWindow(std::string_view Code, TForm* Window) {
    auto& windows = registry();
    bool guarded = false;
    for (const auto& entry : windows)
        guarded = guarded || entry.second == Window;
    if (!guarded) new RegistrationGuard(Window);
    windows[std::string(Code)] = Window;
}

void UnregisterConfigurationWindow(TForm* Window) {
    auto& windows = registry();
    for (auto it = windows.begin(); it != windows.end();)
        it = it->second == Window ? windows.erase(it) : std::next(it);
}

TForm* ConfigurationWindow(std::string_view Code) {
    auto it = registry().find(Code);
    return it == registry().end() ? nullptr : it->second;
}
