// A label and an alert whose texts reach the user untranslated, and the same texts done right.
void bare(QLabel *label, Alert &alert)
{
    label->setText(QStringLiteral("Untranslated"));
    alert.informativeText = QStringLiteral("Untranslated too");
    label->setToolTip(tr("Translated"));
    label->setObjectName(QStringLiteral("notAText"));
}
