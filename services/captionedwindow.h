#pragma once

#include "services/captionsection.h"

// A window whose captions the caption file may replace: it applies its own
// section, with its own table of keys. A fault of the section raises a
// LocalisationError.
class CaptionedWindow
{
public:
    virtual void ApplyCaptions(const LocaleSection &entries) = 0;

protected:
    ~CaptionedWindow() = default;
};
