// The parsed PPD of the printer (placeholder until the PPD reader lands).
#pragma once

class PpdModel {
 public:
  virtual ~PpdModel() = default;
};

inline void DestroyPpdModel(PpdModel* model) { delete model; }
