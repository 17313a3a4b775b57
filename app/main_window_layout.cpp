// The main window's own controls, declared the way a form file declares
// them: kind, name, parent, caption, position and size. The views declare
// the controls they hold on its screens beside their handlers.
#include "app/main_window_layout.h"

namespace app {

using ui::Kind;

const ui::FormSpec kMainFormSpec{"TForm1", kTitle, 546, 577, ui::Frame::Main};

// clang-format off
const ui::ControlSpec kMainControls[] = {
    // The three screens, at the same place, one shown at a time; the views
    // lay their controls on them.
    {Kind::Panel, "gbLogin", "", "", 8, 8, 529, 561, false},
    {Kind::Panel, "gbLog", "", "", 8, 8, 529, 561},
    {Kind::Panel, "gbConfig", "", "", 8, 8, 529, 561, false},

    // The window's own buttons: the diagnosis, the screen switches and the
    // print service's restart.
    {Kind::Button, "btnDiagnostico", "gbLog", "Diagn\xf3stico", 235, 8, 90, 25},
    {Kind::Button, "btnConfig", "gbLog", "Configura\xe7\xf5" "es", 427, 8, 94, 25},
    {Kind::Button, "btnConfigBack", "gbConfig", "Voltar", 8, 8, 75, 25},
    {Kind::Button, "btnRestart", "gbConfig", "Reiniciar Servidor", 170, 8, 120, 25},
};
// clang-format on

const std::span<const ui::ControlSpec> kMainControlTable(kMainControls);

}  // namespace app
