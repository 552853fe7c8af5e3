#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/host/DialogTemplate.h"

namespace pelgar::hosts::win32 {

// A dialog template as the platform reads it from a resource: a DLGTEMPLATE with the
// window's title and font, then one DLGITEMTEMPLATE per control in the template's order,
// which is the tab order. Every control keeps its id; those the logic never addresses get
// 0xFFFF. Handed to DialogBoxIndirectParamW, so the platform lays the dialog out in its own
// dialog units with its own font, as it would the program's resources.
//
// Built as 16-bit words: the platform wants them DWORD-aligned, which a vector's storage is.
std::vector<uint16_t> BuildDialogResource(const ui::DialogTemplate& dialog);

// The window styles (WS_*, BS_*, ES_*, ...) of a control of the template.
uint32_t ControlStyle(const ui::ControlTemplate& control);

// The program's texts are bytes in the system's code page, one a character, as on the reader
// and in the files; dialog resources hold UTF-16.
std::wstring Widen(std::string_view text);

}  // namespace pelgar::hosts::win32
