#pragma once

#include <QString>
#include <QStringList>

// zandrel design: the smallest wheel for a pool and a guarantee, or the best share with a fixed
// number of tickets. Exit 0 when the wheel gives the guarantee (checked), 1 when the time or the
// budget ended first, 2 for parameters that do not make a wheel.
int run_design(const QStringList& arguments, const QString& program_dir, const QString& user_data_dir);
