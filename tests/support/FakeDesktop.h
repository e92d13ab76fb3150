#pragma once
#include "base/Desktop.h"

#include <string>
#include <vector>

namespace tarvok::test {

// A desktop of listed windows that records every request made of it.
class FakeDesktop : public Desktop {
public:
    struct Window {
        WindowHandle Handle;
        std::string Title;
        std::string ClassName;
    };

    bool SetWallpaper(const std::string& imagePath) override
    {
        Calls.push_back("wallpaper " + imagePath);
        return WallpaperShows;
    }
    void ClearWallpaper() override { Calls.push_back("clear wallpaper"); }
    void RestoreWallpaperSetting() override { Calls.push_back("restore wallpaper setting"); }
    void RunDosShell() override { Calls.push_back("terminal"); }
    bool StartScreenSaver() override
    {
        Calls.push_back("screen saver");
        return SaverStarts;
    }
    void EnumWindows(const std::function<bool(WindowHandle)>& visit) override
    {
        for (const Window& window : Windows) {
            ++Visited;
            if (!visit(window.Handle))
                return;
        }
    }
    std::string GetWindowText(WindowHandle window) override { return Of(window).Title; }
    std::string GetClassName(WindowHandle window) override
    {
        ++ClassReads;
        return Of(window).ClassName;
    }
    void HideWindow(WindowHandle window) override { Calls.push_back("hide " + std::to_string(window)); }

    std::vector<Window> Windows;
    bool SaverStarts = true;
    bool WallpaperShows = true;
    std::vector<std::string> Calls;
    int Visited = 0;
    int ClassReads = 0;

private:
    const Window& Of(WindowHandle handle) const
    {
        for (const Window& window : Windows)
            if (window.Handle == handle)
                return window;
        static const Window none{0, "", ""};
        return none;
    }
};

} // namespace tarvok::test
