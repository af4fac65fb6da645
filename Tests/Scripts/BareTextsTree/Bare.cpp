// A label and an alert whose texts reach the user untranslated or in pieces, and the same texts
// done right.
void bare(QLabel *label, Alert &alert)
{
    label->setText(QStringLiteral("Untranslated"));
    alert.informativeText = QStringLiteral("Untranslated too");
    label->setToolTip(tr("Translated"));
    label->setObjectName(QStringLiteral("notAText"));
    alert.message = tr("Move “") + label->text() + QCoreApplication::translate("Bare", "” to the Trash?");
    alert.informativeText = tr("Couldn't move it: %1").arg(label->text()) + tr(" Try again.");
    alert.message = tr("Move “%1” to the Trash?").arg(label->text());
}
