#pragma once

#include <QString>

class GridModel;

// What a loaded window offers the others. A window implements the interface of what it offers;
// the others find it through WindowRegistry::offer, never through the window's own header. A
// closed window offers nothing: its models are gone with it.

// The Lotto window: its draws table (layout in lotto/lotto_files.h), unsaved edits included.
class DrawsOffer {
  public:
    virtual GridModel& draws_table() = 0;

  protected:
    ~DrawsOffer() = default;
};

// The Targeted Sets window: its grid of set rows, the texts of its size and date boxes, and its
// Save button for the generator.
class TsetsOffer {
  public:
    virtual GridModel& tsets_table() = 0;
    virtual QString size_text() const = 0;
    virtual QString date_text() const = 0;
    virtual void enable_save() = 0;

  protected:
    ~TsetsOffer() = default;
};

// The Forecasting Abilities window: its result grid (prize classes and their factors).
class FabilityOffer {
  public:
    virtual GridModel& fa_table() = 0;

  protected:
    ~FabilityOffer() = default;
};
