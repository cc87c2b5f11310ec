#include "job_settings_fields.h"

namespace {

template <size_t Units>
void LoadText(const char16_t (&field)[Units], char16_t (&text)[Units + 1]) {
  size_t length = 0;
  for (; length < Units && field[length] != 0; ++length) text[length] = field[length];
  text[length] = 0;
}

template <size_t Units, size_t TextUnits>
void StoreText(const char16_t (&text)[TextUnits], char16_t (&field)[Units]) {
  size_t i = 0;
  for (; i + 1 < Units && i + 1 < kEditReadUnits && i < TextUnits && text[i] != 0; ++i)
    field[i] = text[i];
  for (; i < Units; ++i) field[i] = 0;
}

}  // namespace

void LoadJobSettingsFields(const PrivateDevmode* block, JobSettingsFields* fields) {
  fields->confidential = block->dwJobType == JOBTYPE_CONFIDENTIAL;
  LoadText(block->szUserName, fields->userName);
  LoadText(block->szJobName, fields->jobName);
  LoadText(block->szPassword, fields->password);
}

void StoreJobSettingsFields(const JobSettingsFields& fields, PrivateDevmode* block) {
  block->dwJobType = fields.confidential ? JOBTYPE_CONFIDENTIAL : JOBTYPE_NORMAL;
  StoreText(fields.userName, block->szUserName);
  StoreText(fields.jobName, block->szJobName);
  StoreText(fields.password, block->szPassword);
}
