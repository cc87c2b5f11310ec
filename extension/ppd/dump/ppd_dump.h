// The PPD model as text: one record per line, TAB between columns, UTF-8.
#pragma once

#include <string>

#include "ppd_model.h"

std::string DumpPpdModel(const PpdModel& model);

// Applies one "--installed" argument of the form '*Keyword=Value' (file
// bytes, decoded as the model decodes them); false when it has no '='.
bool ApplyInstalledArgument(PpdModel* model, const char* argument);
