#pragma once

#include <span>

#include "app/title.h"
#include "ui/form.h"

namespace app {

extern const ui::FormSpec kMainFormSpec;
extern const std::span<const ui::ControlSpec> kMainControlTable;

}  // namespace app
