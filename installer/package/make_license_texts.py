#!/usr/bin/env python3
"""Writes the sample license texts of the package medium: one file per
interface language, UTF-16LE with the byte order mark and CR LF line ends.

    make_license_texts.py OUTPUT_FOLDER
"""
import os
import sys

# File name, heading and body of each language's sample text.
TEXTS = {
    "EULA_EN.txt": ("SAMPLE LICENSE AGREEMENT", [
        "This is a sample license text of the printer driver package.",
        "By choosing Accept you agree to use the driver with the printer you selected.",
        "The software is provided as it is, without warranty of any kind."]),
    "EULA_DE.txt": ("MUSTER-LIZENZVEREINBARUNG", [
        "Dies ist ein Mustertext der Lizenz des Druckertreiberpakets.",
        "Mit Akzeptieren stimmen Sie zu, den Treiber mit dem gewählten Drucker zu verwenden.",
        "Die Software wird ohne jede Gewährleistung geliefert."]),
    "EULA_FR.txt": ("EXEMPLE DE CONTRAT DE LICENCE", [
        "Ceci est un exemple de texte de licence du pilote d'impression.",
        "En choisissant Accepter, vous acceptez d'utiliser le pilote avec l'imprimante choisie.",
        "Le logiciel est fourni tel quel, sans garantie d'aucune sorte."]),
    "EULA_ES.txt": ("EJEMPLO DE ACUERDO DE LICENCIA", [
        "Este es un texto de licencia de ejemplo del controlador de impresora.",
        "Al elegir Aceptar, acepta usar el controlador con la impresora elegida.",
        "El software se entrega tal cual, sin garantía de ningún tipo."]),
    "EULA_IT.txt": ("ESEMPIO DI LICENZA D'USO", [
        "Questo è un testo di licenza di esempio del driver stampante.",
        "Scegliendo Accetto, accettate di usare il driver con la stampante scelta.",
        "Il software è fornito così com'è, senza garanzia alcuna."]),
    "EULA_DU.txt": ("VOORBEELD VAN EEN LICENTIECONTRACT", [
        "Dit is een voorbeeldtekst van de licentie van het printerstuurprogramma.",
        "Met Akkoord gaat u ermee akkoord het stuurprogramma met de gekozen printer te gebruiken.",
        "De software wordt geleverd zoals hij is, zonder enige garantie."]),
    "EULA_PT.txt": ("EXEMPLO DE ACORDO DE LICENÇA", [
        "Este é um texto de licença de exemplo do controlador de impressão.",
        "Ao escolher Aceitar, aceita utilizar o controlador com a impressora escolhida.",
        "O software é fornecido tal como está, sem qualquer garantia."]),
    "EULA_SV.txt": ("EXEMPEL PÅ LICENSAVTAL", [
        "Detta är en exempeltext för skrivardrivrutinens licens.",
        "Genom att välja Acceptera godkänner du att använda drivrutinen med den valda skrivaren.",
        "Programvaran levereras i befintligt skick, utan garantier."]),
    "EULA_NO.txt": ("EKSEMPEL PÅ LISENSAVTALE", [
        "Dette er en eksempeltekst for skriverdriverens lisens.",
        "Ved å velge Godta godtar du å bruke driveren med den valgte skriveren.",
        "Programvaren leveres som den er, uten garantier."]),
    "EULA_DA.txt": ("EKSEMPEL PÅ LICENSAFTALE", [
        "Dette er en eksempeltekst til printerdriverens licens.",
        "Ved at vælge Accepter accepterer du at bruge driveren med den valgte printer.",
        "Softwaren leveres som den er, uden nogen garanti."]),
    "EULA_FI.txt": ("MALLI KÄYTTÖOIKEUSSOPIMUKSESTA", [
        "Tämä on tulostinohjaimen käyttöoikeuden malliteksti.",
        "Valitsemalla Hyväksyn sitoudut käyttämään ohjainta valitsemasi tulostimen kanssa.",
        "Ohjelmisto toimitetaan sellaisenaan ilman takuuta."]),
    "EULA_JA.txt": ("使用許諾契約書（サンプル）", [
        "これはプリンタードライバーパッケージの使用許諾契約書のサンプルです。",
        "「同意する」を選ぶと、選択したプリンターでドライバーを使用することに同意したことになります。",
        "本ソフトウェアは現状のまま提供され、いかなる保証もありません。"]),
}


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, (heading, body) in sorted(TEXTS.items()):
        text = "\r\n".join([heading, ""] + body) + "\r\n"
        with open(os.path.join(folder, name), "wb") as out:
            out.write(b"\xff\xfe" + text.encode("utf-16-le"))


if __name__ == "__main__":
    main()
