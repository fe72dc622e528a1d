#pragma once

#include <string_view>

// Fixed texts that the console logic shows; the dialog uses the same title at start-up.
namespace veltaro::console {

// The main dialog's caption while no model is shown (start-up and after Close).
inline constexpr std::string_view kDialogTitle = "Ostrane - Veltaro";
// The line that Open puts into the log pane: the maker's web address and CR LF.
inline constexpr std::string_view kBannerLine = "http://www.ostrane.example\r\n";
// Caption of the boxes that ask for an empty required field.
inline constexpr std::string_view kPromptCaption = "Information";

}  // namespace veltaro::console
