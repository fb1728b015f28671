// The language choice shared by the login and main windows: it lists only the languages whose
// file exists beside the program.
#pragma once

class QComboBox;

// Lists "English" when language-English.ini exists and the second language when
// language-Other.ini exists, in that order.
void FillLanguageComboBox(QComboBox *comboBox);

// Re-labels the listed languages and selects the active one. A changed selection switches the
// language at once through the combo box's signal.
void SelectActiveLanguageInComboBox(QComboBox *comboBox);
