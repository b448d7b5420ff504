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

// Where a path leads once links and "." / ".." are followed, as far as its folders exist; the
// rest of it is appended as given.
QString resolved_path(const QString& path);

// Why an export may not write to path: it leads into the data folder's Lto or Tsets folders or
// onto its current-system file or lock, which a written export would replace. With
// special_files false, an existing file that is not a regular one (a pipe, a device) is refused
// too, as a window that writes to a pipe waits for ever. Empty when it may be written.
QString export_target_refusal(const QString& path, const QString& data_dir, bool special_files);
