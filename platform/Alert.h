#pragma once

class QString;
class QWidget;

// Balloons and popups tell the user something unasked. A screen reader
// speaks such a part when it shows only if it is an alert: this property
// gives it that role (ui/Accessible.cpp), its name the title, its
// description the text.
inline constexpr char kAccessibleAlert[] = "accessibleAlert";
void MarkAsAlert(QWidget* part, const QString& title, const QString& text);
// Once it shows.
void AnnounceAlert(QWidget* part);
