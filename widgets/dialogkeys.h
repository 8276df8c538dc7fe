#pragma once

class QDialog;

// Gives dialog neither a default nor a cancel action: Enter presses no push
// button, Escape does not close it. Called once its push buttons exist.
void WithoutDefaultAndCancel(QDialog &dialog);
