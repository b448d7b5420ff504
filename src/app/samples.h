#pragma once

#include <QString>

// Installs the sample lotto and targeted set from the sources d1, d1a and d2 in app_dir where they
// are missing. Never overwrites anything and never reports: a step that fails is skipped; a
// missing source ends the installation there.
void create_samples(const QString& app_dir);
