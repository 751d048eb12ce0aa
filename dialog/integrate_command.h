// The Integrate button: copy into the selected environment, clean the
// recorded one when asked, rewrite the record, report.
#pragma once

// Returns true when it ended the dialog.
bool onIntegrate();
