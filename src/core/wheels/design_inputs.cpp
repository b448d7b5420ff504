#include "core/wheels/design_inputs.h"

#include <cmath>

QString read_design_input(DesignInput input, const QString& label, const QString& text,
                          DesignOptions& options) {
    bool ok = false;
    switch (input) {
    case DesignInput::numbers:
    case DesignInput::pick:
    case DesignInput::guarantee:
    case DesignInput::if_m: {
        const long long n = text.trimmed().toLongLong(&ok);
        if (!ok || n < 0 || n > 1000)
            return QStringLiteral("%1: '%2' is not a whole number").arg(label, text);
        WheelParams& s = options.shape;
        int* const target[] = {&s.v, &s.k, &s.t, &s.m};
        *target[static_cast<int>(input)] = static_cast<int>(n);
        return {};
    }
    case DesignInput::seconds: {
        const double seconds = text.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(seconds) || seconds <= 0)
            return QStringLiteral("%1: '%2' is not a positive number of seconds").arg(label, text);
        options.seconds = seconds;
        return {};
    }
    case DesignInput::seed: {
        const uint64_t seed = text.trimmed().toULongLong(&ok);
        if (!ok)
            return QStringLiteral("%1: '%2' is not a whole number from 0 to 18446744073709551615")
                .arg(label, text);
        options.seed = seed;
        return {};
    }
    case DesignInput::tickets: {
        const long long n = text.trimmed().toLongLong(&ok);
        if (!ok || n < 1 || n > 10'000'000)
            return QStringLiteral("%1: '%2' is not a number of tickets").arg(label, text);
        options.budget = static_cast<int>(n);
        return {};
    }
    }
    return {};
}
