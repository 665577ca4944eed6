// The main window on the sim with a settings dialog opened from its context menu: the test
// scripts what the user does in the dialog while it runs.
#pragma once

#include <functional>

#include "MainWindowFixture.h"
#include "SimFilterEffect.h"
#include "resources/Catalogue.h"

namespace {

class SettingsDialogTest : public MainWindowTest {
protected:
    // Sends the menu command; `inDialog` runs once the dialog titled `caption` is up, with its handle.
    void Command(unsigned command, const std::wstring& caption, const std::function<void(HWND)>& inDialog) {
        Ui().Queue([this, caption, inDialog] {
            const HWND dialog = Ui().FindTopLevel(caption);
            ASSERT_TRUE(dialog) << "no dialog titled " << platform::ToUtf8(caption);
            inDialog(dialog);
        });
        m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(command, 0));
    }
    HWND Item(HWND dialog, int id) { return Ui().FindControl(dialog, id); }
    const platform::sim::SimWindow& Window(HWND dialog, int id) { return *Ui().Find(Item(dialog, id)); }
    void Click(HWND dialog, int id) { Ui().Click(Item(dialog, id)); }

    // What the effect filter of the running preview was told since the last look.
    std::vector<std::string> EffectCallsSinceLastLook() {
        auto* effect = Sim().Media().LastGraph()->FilterAs<platform::sim::SimFilterEffect>(L"Video Effect");
        if (!effect) return {"no effect filter"};
        if (effect != m_seenFilter) m_seenCalls = 0;
        m_seenFilter = effect;
        std::vector<std::string> calls(effect->Calls().begin() + long(m_seenCalls), effect->Calls().end());
        m_seenCalls = effect->Calls().size();
        return calls;
    }

private:
    size_t m_seenCalls = 0;
    const void* m_seenFilter = nullptr;
};

}  // namespace
