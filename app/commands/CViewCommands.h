// The window's own commands: the output pane's check box, the Style menu's
// looks, About, Exit, the quick access toolbar (a new player list, import a
// file, save the player list as a table, print it) and the HUD editor. Main
// thread only.
#pragma once

class CCommandDispatcher;
class CMainFrame;

class CViewCommands
{
public:
    // Registers its commands. Requires: `frame` outlives this object.
    CViewCommands(CMainFrame& frame, CCommandDispatcher& dispatcher);

    void OnOutputWnd();
    // Sets the look `id` and writes it to the profile; an id that is no look
    // keeps the current one.
    void ApplyLook(int id);
    void OnSave();
    void OnPrint();
    // "HUD Options": the HUD editor over the program's HUD layouts; the
    // layout chosen with Apply becomes the HUD in use.
    void OnHudOptions();
    void UpdateUi();

private:
    CMainFrame& m_frame;
};
