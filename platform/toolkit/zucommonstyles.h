#pragma once

// The theme's common styles that several kinds of list rows share, named once
// so that every row draws its titles and spinner alike.
namespace ZuCommonStyle {
inline constexpr char Panel[] = "CommonPanelInverted";
inline constexpr char SingleTitle[] = "CommonSingleTitleInverted";
inline constexpr char Title[] = "CommonTitleInverted";
inline constexpr char Subtitle[] = "CommonSubTitleInverted";
inline constexpr char ListItemSpinner[] = "CommonListItemSpinnerInverted";
} // namespace ZuCommonStyle
