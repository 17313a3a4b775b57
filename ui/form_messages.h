// The messages the control layer sends itself, and the one other threads
// post to a form (Form::post).
#pragma once

#include <windows.h>

namespace ui {

const UINT kRunActivate = WM_APP + 1;
const UINT kPaintBox = WM_APP + 2;  // wParam: the DC, lParam: the paint box
const UINT kActivateMainForm = WM_APP + 3;
const UINT kContainerShown = WM_APP + 4;  // wParam: shown, lParam: the container
const UINT kFocusBox = WM_APP + 5;        // lParam: the box that opened
const UINT kPostedWork = WM_APP + 6;      // lParam: the Form::Handler to run, owned

}  // namespace ui
