# The user's interface language picks the texts and the license file.

# expect_language LOCALE CHOOSER CANCEL VERSION LICENSE ACCEPT DECLINE HEADING
# Each license file of the test medium starts with its own file name, so
# the first line of the text box tells which file was read.
expect_language() {
  local locale=$1 chooser=$2 cancel=$3 version=$4 license=$5 accept=$6 decline=$7 file=$8
  make_medium "$work/$locale"
  local f
  for f in "$work/$locale"/Res/EULA_*.txt; do
    { printf '\xff\xfe'; printf '%s\r\n' "$(basename "$f")" | iconv -f UTF-8 -t UTF-16LE; } > "$f"
  done
  start_installer "$work/$locale" LC_ALL="$locale.UTF-8"
  wd wait "title=$chooser" || fail "$locale: no chooser titled [$chooser], saw [$(wd title dialog)]"
  expect_eq "$locale Cancel" "$cancel" "$(wd text "title=$chooser" 2)"
  expect_eq "$locale OK" "OK" "$(wd text "title=$chooser" 1)"
  expect_eq "$locale version line" "${version}3.1.4" "$(wd text "title=$chooser" 1005)"
  wd press "title=$chooser" 1
  wd wait "title=$license" || fail "$locale: no license dialog titled [$license], saw [$(wd title dialog)]"
  expect_eq "$locale Accept" "$accept" "$(wd text "title=$license" 1)"
  expect_eq "$locale Decline" "$decline" "$(wd text "title=$license" 2)"
  expect_eq "$locale license file" "$file\\r\\n" "$(wd rawtext "title=$license" 1000)"
  wd press "title=$license" 2
  expect_installer_ends
}

case_english() {
  expect_language en_US "Printer Model" "Cancel" "Version:" "License Agreement" "Accept" "Decline" EULA_EN.txt
}

case_german() {
  expect_language de_DE "Druckermodell" "Abbrechen" "Versions:" "Lizenzvereinbarung" \
    "Akzeptieren" "Ablehnen" EULA_DE.txt
}

case_japanese() {
  expect_language ja_JP "プリンター機種" "キャンセル" "バージョン:" "使用許諾契約書" \
    "同意する" "同意しない" EULA_JA.txt
}

case_mexican_spanish() {
  expect_language es_MX "Modelo de Impresora" "Cancelar" "Versión:" "Acuerdo de Licencia" \
    "Aceptar" "Rechazar" EULA_ES.txt
}

case_brazilian_portuguese() {
  expect_language pt_BR "Modelo da Impressora" "Cancelar" "Versões:" "Acordo de Licença" \
    "Aceitar" "Recusar" EULA_PT.txt
}

case_dutch() {
  expect_language nl_NL "Printermodel" "Annuleren" "Versie:" "Gebruiksrechtovereenkomst" \
    "Akkoord" "Niet akkoord" EULA_DU.txt
}

case_swedish() {
  expect_language sv_SE "Skrivarmodell" "Avbryt" "Version:" "Licensavtal" \
    "Acceptera" "Accept. ej" EULA_SV.txt
}

# Regions without a table of their own: German (Austria) and German
# (Switzerland) get the table stored for German (Germany), French (Canada)
# the one of French without a region. Wine's loader alone would give the
# German regions the English table.
case_austrian_german() {
  expect_language de_AT "Druckermodell" "Abbrechen" "Versions:" "Lizenzvereinbarung" \
    "Akzeptieren" "Ablehnen" EULA_DE.txt
}

case_swiss_german() {
  expect_language de_CH "Druckermodell" "Abbrechen" "Versions:" "Lizenzvereinbarung" \
    "Akzeptieren" "Ablehnen" EULA_DE.txt
}

case_canadian_french() {
  expect_language fr_CA "Modèle d'imprimante" "Annuler" "Version:" "Contrat de licence" \
    "Accepter" "Refuser" EULA_FR.txt
}

case_danish() {
  expect_language da_DK "Printermodel" "Annuller" "Version:" "Licensaftale" \
    "Accepter" "Afslå" EULA_DA.txt
}

# Russian has no table: the installer leaves the choice to the loader, and
# Wine's falls back to English (United States), the table it ranks after
# the user's and the system's languages.
case_language_without_table() {
  expect_language ru_RU "Printer Model" "Cancel" "Version:" "License Agreement" "Accept" "Decline" EULA_EN.txt
}

case_message_in_german() {
  make_medium "$work/m"
  rm "$work/m/Res/setup.ini"
  start_installer "$work/m" LC_ALL=de_DE.UTF-8
  expect_eq "message" "Der Drucker kann nicht installiert werden." "$(wd text "title=$TITLE" 65535)"
  wd press "title=$TITLE" 1
  expect_installer_ends
}
