#pragma once

#include <QString>

// Installs the sample lotto and targeted set in app_dir from the sources d1, d1a and d2 in
// source_dir (app_dir when empty) where they are missing. Never overwrites anything and never
// reports: a step that fails is skipped; a missing source ends the installation there.
void create_samples(const QString& app_dir, const QString& source_dir = QString());
