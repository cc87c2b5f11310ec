// The Job Settings page's entries and the private block, mapped both ways
// without the dialog: the page moves the texts between these fields and
// its controls, so the mapping itself needs no Windows and runs under the
// sanitizers too.
#pragma once

#include "private_devmode.h"

// The longest text an edit field of the page hands over when it is stored:
// 14 characters and the terminator.
constexpr size_t kEditReadUnits = 15;

struct JobSettingsFields {
  bool confidential;  // the "Print with password" box
  // Each text as loaded from the block (up to the whole field, always
  // terminated) or as read from its edit field (at most 14 characters).
  char16_t userName[kUserNameUnits + 1];
  char16_t jobName[kJobNameUnits + 1];
  char16_t password[kPasswordUnits + 1];
};

// The box is checked exactly when the job is confidential; each text ends
// at its field's terminator or its last unit, whichever comes first, so a
// block from elsewhere is never read past its field.
void LoadJobSettingsFields(const PrivateDevmode* block, JobSettingsFields* fields);

// Job type 4 when the box is checked, else 0; each text up to its
// terminator, at most 14 characters and never more than the field takes
// with its terminator. The rest of each field is cleared so that nothing
// of an earlier, longer entry stays behind in the saved block.
void StoreJobSettingsFields(const JobSettingsFields& fields, PrivateDevmode* block);
