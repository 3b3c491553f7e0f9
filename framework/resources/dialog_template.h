// Reader of dialog templates (DIALOG and DIALOGEX) from resource data.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "framework/resources/res_file.h"

namespace fw::res {

struct DialogItem {
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  int id = 0;                                 // -1 (0xFFFF) for static labels
  std::string className;  // "Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"
                          // for the predefined atoms and those names in any case, else the
                          // name as stored (windres upper-cases it)
  std::string text;       // ANSI; empty when the text is an ordinal
  bool textIsOrdinal = false;
  std::uint16_t textOrdinal = 0;  // resource id of an icon or bitmap shown by a static
  std::vector<std::uint8_t> creationData;
};

struct DialogTemplate {
  bool extended = false;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;
  std::optional<ResourceId> menu;         // absent when the template names none
  std::optional<ResourceId> windowClass;  // absent for the standard dialog class
  std::string caption;
  std::uint16_t pointSize = 0;  // with DS_SETFONT
  std::uint16_t weight = 0;     // weight, italic and charset only in DIALOGEX
  bool italic = false;
  std::uint8_t charset = 0;
  std::string fontName;
  std::vector<DialogItem> items;
};

// Parses a DLGTEMPLATE or DLGTEMPLATEEX; nullopt when it is truncated or names an unknown
// predefined control class.
std::optional<DialogTemplate> ParseDialogTemplate(std::span<const std::uint8_t> data);

}  // namespace fw::res
