#pragma once

// The registry names of the program's windows, the same as their object names.
namespace window_name {
inline constexpr char main[] = "frmMain";
inline constexpr char help[] = "frmHelp";
inline constexpr char lotto[] = "frmLotto";
inline constexpr char tsets[] = "frmTsets";
inline constexpr char tset_generator[] = "frmTsetGenerator";
inline constexpr char system[] = "frmSystem";
inline constexpr char performance[] = "frmPerformance";
inline constexpr char fability[] = "frmFability";
inline constexpr char profitability[] = "frmProfitability";
inline constexpr char backtest[] = "frmBacktest";
inline constexpr char wheel_designer[] = "frmWheelDesigner";
} // namespace window_name
