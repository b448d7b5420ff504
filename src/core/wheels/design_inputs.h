#pragma once

#include "core/wheels/wheel_designer.h"

#include <QString>

// The designer's inputs as typed (the command line's options, the Wheel Designer's boxes), read in
// one place so that both refuse the same texts with the same words.
enum class DesignInput { numbers, pick, guarantee, if_m, seconds, seed, tickets };

// Reads text into its place in options; the message naming label when it does not read, "" when it
// did. The shape's own limits are wheel_params_fault's.
QString read_design_input(DesignInput input, const QString& label, const QString& text,
                          DesignOptions& options);
