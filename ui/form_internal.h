// What the form's pieces share within the control layer: the module its
// windows belong to, the task-bar window with the main form it closes, and
// the panel class that frames containers and hands paint boxes to the form.
#pragma once

#include <windows.h>

namespace ui {

extern HINSTANCE appInstance;
inline constexpr char kPanelClass[] = "QueltaPanel";

extern HWND applicationHwnd;
extern HWND mainFormHwnd;  // the first form that belongs to it

// How a panel draws itself, kept in its GWLP_USERDATA.
enum PanelLook : LONG_PTR { kPlain = 0, kFramed = 1, kGroup = 2, kPainted = 3 };

// Registers a window class of the module once.
void registerClass(const char* name, WNDPROC proc);
LRESULT CALLBACK panelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace ui
