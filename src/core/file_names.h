#pragma once

#include <QString>

// A name the user typed that becomes a file or folder name: refused when empty, "." or "..", or
// when it holds a path separator or a control character.
bool is_safe_file_name(const QString& name);

// dir joined with name by the platform's separator-agnostic '/'.
QString join_path(const QString& dir, const QString& name);

// A name that becomes a folder listed by the program: a safe file name that does not start with a
// dot, as folder lists leave such hidden folders out.
bool is_safe_folder_name(const QString& name);
