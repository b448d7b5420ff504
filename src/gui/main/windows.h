#pragma once

struct AppContext;
class WindowRegistry;

// Tells the registry how to make each window of the program, each handed ctx.
void register_windows(WindowRegistry& windows, AppContext& ctx);
