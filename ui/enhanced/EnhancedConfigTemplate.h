#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "config/EnhancedSettings.h"
#include "ui/enhanced/EnhancedConfigIds.h"
#include "ui/host/DialogTemplate.h"

namespace pelgar::ui {

// The language list: a name's position is the reader's wedge mode language code, except
// the last, "Custom Table", which stands for the reader's custom table code 0xFF.
inline constexpr int kLanguageCount = 10;
inline constexpr int kCustomTablePosition = kLanguageCount - 1;
const std::vector<std::string>& LanguageNames();
// The position that shows the reader's `code`; -1 (no selection) for a code without one.
int LanguagePosition(uint8_t code);
// The code that list position `position` stands for; no selection (-1) gives 0xFF.
uint8_t LanguageCode(int position);

// The character list of every custom row: position 0 is " - None -", position p stands
// for the character code 0x1F + p (0x20 to 0x7E).
inline constexpr int kCharacterCodeOffset = config::kFirstOfferedCode - 1;
inline constexpr int kCharacterListSize = config::kLastOfferedCode - kCharacterCodeOffset + 1;
const std::vector<std::string>& CharacterListLabels();

const DialogTemplate& EnhancedConfigTemplate();

}  // namespace pelgar::ui
