#!/usr/bin/env python3
"""Makes the fixture workbooks of this folder.

Run from anywhere: python3 fabriquer_classeurs.py [--sans-libreoffice]

- *_python.xlsx / *_python.ods are written here by hand with the standard
  library (zipfile), the way small tools write them: inline strings, absolute
  relationship targets, no <dimension>, built-in number formats.
- mesures_libreoffice.xlsx, mesures.ods, mesures.xls and base1904_* are
  converted by LibreOffice (headless) from the flat OpenDocument sources
  written below.
- The remaining files are broken or hostile on purpose.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

ICI = os.path.dirname(os.path.abspath(__file__))

NS_MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
NS_R = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
NS_PKG = "http://schemas.openxmlformats.org/package/2006/relationships"
T_DOC = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument"
T_SHEET = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet"
T_STYLES = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles"

XML = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'


def serie(jours, secondes=0):
    """Serial of the 1900 system: days since 1899-12-30 plus the time."""
    return repr(jours + secondes / 86400)


# Days since 1899-12-30 of the dates used below.
J_2024_03_01 = 45352
J_2024_02_29 = 45351


def ecrire_zip(nom, parties):
    chemin = os.path.join(ICI, nom)
    with zipfile.ZipFile(chemin, "w", zipfile.ZIP_DEFLATED) as z:
        for partie, contenu in parties:
            methode = zipfile.ZIP_STORED if partie == "mimetype" else zipfile.ZIP_DEFLATED
            z.writestr(zipfile.ZipInfo(partie, (2024, 3, 1, 0, 0, 0)), contenu,
                       compress_type=methode)
    return chemin


def types_contenu(nb_feuilles):
    t = XML + '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
    t += '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
    t += '<Default Extension="xml" ContentType="application/xml"/>'
    t += ('<Override PartName="/xl/workbook.xml" ContentType="application/'
          'vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>')
    for i in range(1, nb_feuilles + 1):
        t += (f'<Override PartName="/xl/worksheets/sheet{i}.xml" ContentType="application/'
              'vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>')
    return t + "</Types>"


def classeur_python(nom, feuilles, date1904=False, styles_xf=(0, 14, 21, 22), autres=()):
    """feuilles: list of (name, sheet XML). Every relationship target is absolute."""
    rels = XML + f'<Relationships xmlns="{NS_PKG}">'
    rels += f'<Relationship Id="rId1" Type="{T_DOC}" Target="/xl/workbook.xml"/></Relationships>'
    wb = XML + f'<workbook xmlns="{NS_MAIN}" xmlns:r="{NS_R}">'
    wb += f'<workbookPr date1904="{1 if date1904 else 0}"/><sheets>'
    wbrels = XML + f'<Relationships xmlns="{NS_PKG}">'
    parties = []
    for i, (nom_feuille, xml) in enumerate(feuilles, start=1):
        wb += f'<sheet name="{nom_feuille}" sheetId="{i}" r:id="rId{i}"/>'
        wbrels += (f'<Relationship Id="rId{i}" Type="{T_SHEET}" '
                   f'Target="/xl/worksheets/sheet{i}.xml"/>')
        parties.append((f"xl/worksheets/sheet{i}.xml", xml))
    wb += "</sheets></workbook>"
    wbrels += f'<Relationship Id="rIdS" Type="{T_STYLES}" Target="/xl/styles.xml"/>'
    wbrels += "</Relationships>"
    styles = XML + f'<styleSheet xmlns="{NS_MAIN}"><cellXfs count="{len(styles_xf)}">'
    styles += "".join(f'<xf numFmtId="{n}" applyNumberFormat="1"/>' for n in styles_xf)
    styles += "</cellXfs></styleSheet>"
    ecrire_zip(nom, [("[Content_Types].xml", types_contenu(len(feuilles))),
                     ("_rels/.rels", rels), ("xl/workbook.xml", wb),
                     ("xl/_rels/workbook.xml.rels", wbrels), ("xl/styles.xml", styles)]
               + parties + list(autres))


def en_ligne(ref, texte):
    return f'<c r="{ref}" t="inlineStr"><is><t>{texte}</t></is></c>'


def nombre(ref, valeur, style=0):
    return f'<c r="{ref}" s="{style}"><v>{valeur}</v></c>'


def feuille(lignes, prefixe=""):
    p = f"{prefixe}:" if prefixe else ""
    x = f' xmlns:{prefixe}="{NS_MAIN}"' if prefixe else f' xmlns="{NS_MAIN}"'
    corps = "".join(lignes)
    return XML + f"<{p}worksheet{x}><{p}sheetData>{corps}</{p}sheetData></{p}worksheet>"


def mesures_python():
    # Styles: 0 general, 1 built-in 14 (date), 2 built-in 21 (h:mm:ss), 3 built-in 22 (date time).
    f1 = [
        '<row r="1">' + "".join(en_ligne(f"{c}1", t) for c, t in zip(
            "ABCDEF", ["Date", "Heure", "Temp", "Humidité", "Etat", "Calcul"])) + "</row>",
        '<row r="2">' + nombre("A2", serie(J_2024_03_01), 1) + nombre("B2", serie(0, 601), 2)
        + nombre("C2", "12.5") + nombre("D2", "80") + '<c r="E2" t="b"><v>1</v></c>'
        + '<c r="F2"><f>C2*2</f><v>25</v></c></row>',
        '<row r="3">' + nombre("A3", serie(J_2024_03_01, 1200), 3) + nombre("C3", "-3.25")
        + nombre("D3", "0.1") + '<c r="E3" t="b"><v>0</v></c>'
        + '<c r="F3"><f>D3/4</f><v>0.025</v></c></row>',
        '<row r="5">' + en_ligne("A5", "a;b") + nombre("B5", serie(0, 86399), 2)
        + nombre("C5", "1234567.891") + nombre("D5", "1E-05") + en_ligne("E5", "Hygrométrie")
        + '<c r="F5" t="str"><f>"Etat!"</f><v>Etat!</v></c></row>',
        '<row r="6">' + nombre("A6", serie(J_2024_02_29, 86399), 3) + nombre("B6", "0.5", 2)
        + nombre("C6", "0") + nombre("D6", "-0.5") + nombre("F6", "1000000000000000") + "</row>",
        '<row r="7">' + nombre("A7", serie(J_2024_03_01), 3) + nombre("B7", "0", 2)
        + en_ligne("C7", "fin") + "</row>",
    ]
    f2 = [
        '<x:row r="1"><x:c r="A1" t="inlineStr"><x:is><x:t>n°</x:t></x:is></x:c>'
        '<x:c r="B1" t="inlineStr"><x:is><x:t>valeur</x:t></x:is></x:c></x:row>',
        '<x:row r="2"><x:c r="A2"><x:v>1</x:v></x:c><x:c r="B2"><x:v>2.5</x:v></x:c></x:row>',
        '<x:row r="3"><x:c r="A3"><x:v>2</x:v></x:c>'
        '<x:c r="B3"><x:f>B2*3</x:f><x:v>7.5</x:v></x:c></x:row>',
    ]
    classeur_python("mesures_python.xlsx", [("Mesures", feuille(f1)),
                                            ("Notes", feuille(f2, "x")),
                                            ("Vide", feuille([]))])


def base1904_python():
    # 1904 system; the used range starts in column A only because of row 6.
    f = [
        '<row r="3">' + en_ligne("C3", "Horodatage")
        + '<c r="D3" t="inlineStr"><is><r><t>Val</t></r><r><t>eur</t></r>'
          '<rPh sb="0" eb="1"><t>X</t></rPh></is></c></row>',
        '<row r="4">' + nombre("C4", repr(J_2024_03_01 - 1462 + 0.5), 3)
        + nombre("D4", "1.5") + "</row>",
        '<row r="5"><c r="C5" s="3" t="d"><v>2024-03-01T12:10:00</v></c>'
        '<c r="D5" t="e"><v>#DIV/0!</v></c></row>',
        '<row r="6"><c t="inlineStr"><is><t>x</t></is></c><c><v>2</v></c></row>',
    ]
    classeur_python("base1904_python.xlsx", [("Horodatage", feuille(f))], date1904=True)


def releves_python():
    # A logger export: one date-time column and two values, ten minutes apart.
    lignes = ['<row r="1">' + "".join(en_ligne(f"{c}1", t) for c, t in zip(
        "ABC", ["Date", "Temp", "Hum"])) + "</row>"]
    for i, (temp, hum) in enumerate([("12.5", "80"), ("12.75", "81"), ("13", "79.5")]):
        r = i + 2
        lignes.append(f'<row r="{r}">' + nombre(f"A{r}", serie(J_2024_03_01, 600 * i), 3)
                      + nombre(f"B{r}", temp) + nombre(f"C{r}", hum) + "</row>")
    classeur_python("releves_python.xlsx", [("Releves", feuille(lignes))])


# ---------------------------------------------------------------- OpenDocument

NS_ODS = (' xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"'
          ' xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"'
          ' xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"'
          ' xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"'
          ' xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"'
          ' xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"')

STYLES_ODS = """
 <office:automatic-styles>
  <number:date-style style:name="N_DATE">
   <number:day number:style="long"/><number:text>/</number:text>
   <number:month number:style="long"/><number:text>/</number:text>
   <number:year number:style="long"/>
  </number:date-style>
  <number:time-style style:name="N_TIME">
   <number:hours number:style="long"/><number:text>:</number:text>
   <number:minutes number:style="long"/><number:text>:</number:text>
   <number:seconds number:style="long"/>
  </number:time-style>
  <number:date-style style:name="N_DT">
   <number:day number:style="long"/><number:text>/</number:text>
   <number:month number:style="long"/><number:text>/</number:text>
   <number:year number:style="long"/><number:text> </number:text>
   <number:hours number:style="long"/><number:text>:</number:text>
   <number:minutes number:style="long"/><number:text>:</number:text>
   <number:seconds number:style="long"/>
  </number:date-style>
  <number:boolean-style style:name="N_BOOL"><number:boolean/></number:boolean-style>
  <style:style style:name="ce_date" style:family="table-cell" style:data-style-name="N_DATE"/>
  <style:style style:name="ce_time" style:family="table-cell" style:data-style-name="N_TIME"/>
  <style:style style:name="ce_dt" style:family="table-cell" style:data-style-name="N_DT"/>
  <style:style style:name="ce_bool" style:family="table-cell" style:data-style-name="N_BOOL"/>
 </office:automatic-styles>
"""


def cellule(contenu="", **a):
    attributs = "".join(f' {k.replace("__", ":").replace("_", "-")}="{v}"' for k, v in a.items())
    if contenu:
        return f"<table:table-cell{attributs}>{contenu}</table:table-cell>"
    return f"<table:table-cell{attributs}/>"


def texte(t):
    return cellule(f"<text:p>{t}</text:p>", office__value_type="string")


def flottant(v):
    return cellule(office__value_type="float", office__value=v)


def date(v, style):
    return cellule(table__style_name=style, office__value_type="date", office__date_value=v)


def heure(v):
    return cellule(table__style_name="ce_time", office__value_type="time", office__time_value=v)


def booleen(v):
    return cellule(table__style_name="ce_bool", office__value_type="boolean",
                   office__boolean_value=v)


def ligne(*cellules, **a):
    attributs = "".join(f' {k.replace("__", ":").replace("_", "-")}="{v}"' for k, v in a.items())
    return f"<table:table-row{attributs}>" + "".join(cellules) + "</table:table-row>"


def table(nom, *lignes, colonnes=""):
    return f'<table:table table:name="{nom}">{colonnes}' + "".join(lignes) + "</table:table>"


def fods_mesures():
    mesures = table(
        "Mesures",
        ligne(*(texte(t) for t in ["Date", "Heure", "Temp", "Humidité", "Etat", "Calcul"])),
        ligne(date("2024-03-01", "ce_date"), heure("PT00H10M01S"), flottant("12.5"),
              flottant("80"), booleen("true"),
              cellule(table__formula="of:=[.C2]*2", office__value_type="float",
                      office__value="25")),
        ligne(date("2024-03-01T00:20:00", "ce_dt"), cellule(), flottant("-3.25"),
              flottant("0.1"), booleen("false"),
              cellule(table__formula="of:=[.D3]/4", office__value_type="float",
                      office__value="0.025")),
        ligne(cellule(table__number_columns_repeated="6")),
        ligne(texte("a;b"), heure("PT23H59M59S"), flottant("1234567.891"),
              flottant("0.00001"), texte("Hygrométrie"),
              cellule("<text:p>Etat!</text:p>", table__formula='of:=&quot;Etat!&quot;',
                      office__value_type="string", office__string_value="Etat!")),
        ligne(date("2024-02-29T23:59:59", "ce_dt"), heure("PT12H00M00S"), flottant("0"),
              flottant("-0.5"), cellule(), flottant("1000000000000000")),
        ligne(date("2024-03-01T00:00:00", "ce_dt"), heure("PT00H00M00S"), texte("fin")))
    notes = table(
        "Notes",
        ligne(texte("n°"), texte("valeur")),
        ligne(flottant("1"), flottant("2.5")),
        ligne(flottant("2"), cellule(table__formula="of:=[.B2]*3", office__value_type="float",
                                     office__value="7.5")))
    vide = table("Vide", ligne(cellule()))
    return (XML + f'<office:document{NS_ODS} office:version="1.2" office:mimetype='
            '"application/vnd.oasis.opendocument.spreadsheet">' + STYLES_ODS
            + "<office:body><office:spreadsheet>" + mesures + notes + vide
            + "</office:spreadsheet></office:body></office:document>")


def fods_base1904():
    t = table("Base1904", ligne(texte("Horodatage"), texte("Valeur")),
              ligne(date("2024-03-01T12:00:00", "ce_dt"), flottant("1.5")))
    return (XML + f'<office:document{NS_ODS} office:version="1.2" office:mimetype='
            '"application/vnd.oasis.opendocument.spreadsheet">' + STYLES_ODS
            + "<office:body><office:spreadsheet><table:calculation-settings>"
            '<table:null-date table:date-value="1904-01-01"/></table:calculation-settings>'
            + t + "</office:spreadsheet></office:body></office:document>")


MANIFESTE = (XML + '<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:'
             'manifest:1.0" manifest:version="1.2">'
             '<manifest:file-entry manifest:full-path="/" manifest:media-type="application/'
             'vnd.oasis.opendocument.spreadsheet"/>'
             '<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"'
             '{chiffrement}</manifest:manifest>')


def ods_python(nom, corps, chiffre=False):
    contenu = (XML + f'<office:document-content{NS_ODS} office:version="1.2">' + STYLES_ODS
               + "<office:body><office:spreadsheet>" + corps
               + "</office:spreadsheet></office:body></office:document-content>")
    if chiffre:
        manifeste = MANIFESTE.format(chiffrement='><manifest:encryption-data manifest:checksum-'
                                     'type="SHA1/1K" manifest:checksum="AAAA"/>'
                                     '</manifest:file-entry>')
        contenu = bytes(range(256)) * 4
    else:
        manifeste = MANIFESTE.format(chiffrement="/>")
    ecrire_zip(nom, [("mimetype", "application/vnd.oasis.opendocument.spreadsheet"),
                     ("META-INF/manifest.xml", manifeste), ("content.xml", contenu)])


def colonnes_python():
    # Column A takes its data style from the column; rows and cells repeat; the
    # note of a cell is not its text; LibreOffice's trailing empty runs.
    colonnes = ('<table:table-column table:default-cell-style-name="ce_dt"/>'
                '<table:table-column table:number-columns-repeated="16383"/>')
    t = table(
        "Colonnes",
        ligne(cellule(table__number_columns_repeated="16384")),
        ligne(texte("Horodatage"), texte("Note"), cellule(table__number_columns_repeated="16382")),
        ligne(cellule(office__value_type="date", office__date_value="2024-03-01"),
              cellule(office__value_type="float", office__value="7",
                      table__number_columns_repeated="2"),
              table__number_rows_repeated="2"),
        ligne(cellule('<office:annotation><text:p>commentaire</text:p></office:annotation>'
                      '<text:p>a<text:s text:c="2"/>b</text:p><text:p>c</text:p>',
                      office__value_type="string"),
              "<table:covered-table-cell/>", booleen("true")),
        ligne(cellule(table__number_columns_repeated="16384"),
              table__number_rows_repeated="1048571"),
        colonnes=colonnes)
    ods_python("colonnes_python.ods", t)


def repetitions_ods():
    # One value repeated over a million rows and every column: far too big to write.
    t = table("Enorme", ligne(cellule(office__value_type="float", office__value="1",
                                      table__number_columns_repeated="16384"),
                              table__number_rows_repeated="1000000"))
    ods_python("repetitions.ods", t)


# ---------------------------------------------------------------- compound files

def composite(noms_flux):
    """A compound file with empty streams of these names (what a password-protected
    .xlsx looks like from the outside)."""
    secteur = 512
    tete = bytearray(512)
    tete[0:8] = bytes([0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1])
    struct.pack_into("<HHHHH", tete, 0x18, 0x3E, 3, 0xFFFE, 9, 6)
    struct.pack_into("<I", tete, 0x2C, 1)               # one FAT sector
    struct.pack_into("<I", tete, 0x30, 1)               # directory in sector 1
    struct.pack_into("<I", tete, 0x38, 4096)
    struct.pack_into("<II", tete, 0x3C, 0xFFFFFFFE, 0)  # no mini FAT
    struct.pack_into("<II", tete, 0x44, 0xFFFFFFFE, 0)  # no DIFAT sector
    for i in range(109):
        struct.pack_into("<I", tete, 0x4C + 4 * i, 0 if i == 0 else 0xFFFFFFFF)
    fat = bytearray(b"\xff" * secteur)
    struct.pack_into("<II", fat, 0, 0xFFFFFFFD, 0xFFFFFFFE)
    rep = bytearray(secteur)

    def entree(i, nom, type_, enfant=0xFFFFFFFF, droite=0xFFFFFFFF):
        e = bytearray(128)
        n = nom.encode("utf-16-le") + b"\0\0"
        e[0:len(n)] = n
        struct.pack_into("<HBB", e, 0x40, len(n), type_, 1)
        struct.pack_into("<III", e, 0x44, 0xFFFFFFFF, droite, enfant)
        struct.pack_into("<II", e, 0x74, 0xFFFFFFFE, 0)
        rep[128 * i:128 * (i + 1)] = e

    entree(0, "Root Entry", 5, enfant=1)
    for i, nom in enumerate(noms_flux, start=1):
        entree(i, nom, 2, droite=i + 1 if i < len(noms_flux) else 0xFFFFFFFF)
    return bytes(tete + fat + rep)


def fichiers_hostiles():
    with open(os.path.join(ICI, "chiffre.xlsx"), "wb") as f:
        f.write(composite(["EncryptionInfo", "EncryptedPackage"]))
    with open(os.path.join(ICI, "pas_un_classeur.xlsx"), "wb") as f:
        f.write(b"ceci n'est pas un classeur\r\n")
    ecrire_zip("archive_sans_classeur.xlsx", [("lisez-moi.txt", "rien ici")])
    # The binary workbook format: a package whose workbook part is not XML.
    racine = (XML + f'<Relationships xmlns="{NS_PKG}"><Relationship Id="rId1" Type="{T_DOC}" '
              'Target="xl/workbook.bin"/></Relationships>')
    ecrire_zip("binaire.xlsb", [("[Content_Types].xml", types_contenu(0)), ("_rels/.rels", racine),
                                ("xl/workbook.bin", bytes(range(64)))])
    with open(os.path.join(ICI, "mesures_python.xlsx"), "rb") as f:
        entier = f.read()
    with open(os.path.join(ICI, "tronque.xlsx"), "wb") as f:
        f.write(entier[: len(entier) // 2])
    ligne_a1 = '<row r="1">' + en_ligne("A1", "x") + "</row>"
    doctype = (XML + '<!DOCTYPE worksheet [<!ENTITY a "aaaaaaaaaa">]>'
               f'<worksheet xmlns="{NS_MAIN}"><sheetData>{ligne_a1}</sheetData></worksheet>')
    classeur_python("doctype.xlsx", [("Feuil1", doctype)])
    invalide = XML + f'<worksheet xmlns="{NS_MAIN}"><sheetData><row r="1"><c r="A1"><v>1</v>'
    invalide += "</row></sheetData></worksheet>"
    classeur_python("xml_invalide.xlsx", [("Feuil1", invalide)])
    # 20 MB of blanks inside the sheet, a few kilobytes once compressed.
    gonfle = (XML + f'<worksheet xmlns="{NS_MAIN}"><sheetData>{ligne_a1}' + " " * (20 << 20)
              + "</sheetData></worksheet>")
    classeur_python("gonfle.xlsx", [("Feuil1", gonfle)])
    ods_python("chiffre.ods", "", chiffre=True)


def lire_composite(octets):
    """The streams of a compound file whose allocation table fits the header."""
    secteur = 1 << struct.unpack_from("<H", octets, 0x1E)[0]
    lire = lambda n: octets[(n + 1) * secteur:(n + 2) * secteur]
    fat = []
    for i in range(109):
        s = struct.unpack_from("<I", octets, 0x4C + 4 * i)[0]
        if s < 0xFFFFFFFA:
            fat += struct.unpack(f"<{secteur // 4}I", lire(s))

    def chaine(debut):
        r, s = b"", debut
        while s < 0xFFFFFFFA:
            r += lire(s)
            s = fat[s]
        return r

    mini_fat = chaine(struct.unpack_from("<I", octets, 0x3C)[0])
    mini_fat = struct.unpack(f"<{len(mini_fat) // 4}I", mini_fat)
    rep = chaine(struct.unpack_from("<I", octets, 0x30)[0])
    mini_flux = chaine(struct.unpack_from("<I", rep, 0x74)[0])
    flux = {}
    for k in range(0, len(rep), 128):
        e = rep[k:k + 128]
        longueur, type_ = struct.unpack_from("<HB", e, 0x40)
        if type_ != 2:
            continue
        nom = e[:max(longueur - 2, 0)].decode("utf-16-le")
        debut, taille = struct.unpack_from("<II", e, 0x74)
        if taille >= 4096:
            flux[nom] = chaine(debut)[:taille]
        else:
            r, m = b"", debut
            while m < 0xFFFFFFFA:
                r += mini_flux[64 * m:64 * (m + 1)]
                m = mini_fat[m]
            flux[nom] = r[:taille]
    return flux


def ecrire_composite(nom_flux, donnees):
    """A compound file holding one stream of less than 4096 bytes, kept (as it
    must be) in 64-byte pieces of the root's stream."""
    secteur = 512
    if len(donnees) >= 4096:
        raise SystemExit("flux trop long pour ce petit écrivain")
    nb_mini = (len(donnees) + 63) // 64
    nb_racine = (nb_mini * 64 + secteur - 1) // secteur
    # Sector 0: allocation table, 1: directory, 2: small allocation table, 3...: root stream.
    tete = bytearray(composite([nom_flux])[:512])
    struct.pack_into("<II", tete, 0x3C, 2, 1)
    fat = [0xFFFFFFFD, 0xFFFFFFFE, 0xFFFFFFFE]
    fat += [3 + i + 1 for i in range(nb_racine - 1)] + [0xFFFFFFFE]
    fat += [0xFFFFFFFF] * (secteur // 4 - len(fat))
    mini_fat = [i + 1 for i in range(nb_mini - 1)] + [0xFFFFFFFE]
    mini_fat += [0xFFFFFFFF] * (secteur // 4 - len(mini_fat))
    rep = bytearray(composite([nom_flux])[1024:1536])
    struct.pack_into("<II", rep, 0x74, 3, nb_mini * 64)
    struct.pack_into("<II", rep, 128 + 0x74, 0, len(donnees))
    racine = donnees + b"\0" * (nb_racine * secteur - len(donnees))
    return (bytes(tete) + struct.pack(f"<{secteur // 4}I", *fat) + bytes(rep)
            + struct.pack(f"<{secteur // 4}I", *mini_fat) + racine)


def enregistrements(flux):
    i = 0
    while i + 4 <= len(flux):
        type_, taille = struct.unpack_from("<HH", flux, i)
        yield i, type_, taille
        i += 4 + taille


def xls_patches():
    """LibreOffice's .xls writer keeps no result for a formula giving a text (it
    writes 0 where Excel writes the text in a STRING record). mesures.xls gets
    the record Excel would have written for F5 ("Etat!"), and the offsets of the
    sheets that follow move accordingly; the row index records are left as they
    are (readers walk the records in order). chiffre.xls is mesures.xls with its
    WINDOW1 record retyped FILEPASS, what an .xls saved with a password declares
    before anything else."""
    chemin = os.path.join(ICI, "mesures.xls")
    with open(chemin, "rb") as f:
        flux = bytearray(lire_composite(f.read())["Workbook"])
    point = None
    for i, type_, taille in enregistrements(flux):
        if type_ == 0x0006 and struct.unpack_from("<HH", flux, i + 4) == (4, 5):
            flux[i + 10:i + 18] = bytes([0, 0, 0, 0, 0, 0, 0xFF, 0xFF])
            point = i + 4 + taille
            break
    if point is None:
        raise SystemExit("formule F5 introuvable dans mesures.xls")
    chaine = b"\x07\x02" + struct.pack("<HHB", 8, 5, 0) + b"Etat!"
    flux[point:point] = chaine
    for i, type_, taille in enregistrements(flux):
        if type_ == 0x0085:
            position = struct.unpack_from("<I", flux, i + 4)[0]
            if position >= point:
                struct.pack_into("<I", flux, i + 4, position + len(chaine))
        if type_ == 0x000A:  # end of the workbook globals
            break
    with open(chemin, "wb") as f:
        f.write(ecrire_composite("Workbook", bytes(flux)))
    for i, type_, taille in enregistrements(flux):
        if type_ == 0x003D:  # WINDOW1
            flux[i:i + 2] = b"\x2f\x00"
            break
    with open(os.path.join(ICI, "chiffre.xls"), "wb") as f:
        f.write(ecrire_composite("Workbook", bytes(flux)))


def libreoffice():
    soffice = shutil.which("libreoffice") or shutil.which("soffice")
    if not soffice:
        raise SystemExit("LibreOffice absent : apt-get install libreoffice-calc-nogui")
    with tempfile.TemporaryDirectory() as tmp:
        sources = {"mesures.fods": fods_mesures(), "base1904.fods": fods_base1904()}
        for nom, contenu in sources.items():
            with open(os.path.join(tmp, nom), "w", encoding="utf-8") as f:
                f.write(contenu)
        profil = "file://" + os.path.join(tmp, "profil")
        for source, formats in [("mesures.fods", ["xlsx", "ods", "xls"]),
                                ("base1904.fods", ["xlsx", "xls"])]:
            for fmt in formats:
                subprocess.run([soffice, f"-env:UserInstallation={profil}", "--headless",
                                "--convert-to", fmt, "--outdir", tmp,
                                os.path.join(tmp, source)],
                               check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        copies = {"mesures.xlsx": "mesures_libreoffice.xlsx", "mesures.ods": "mesures.ods",
                  "mesures.xls": "mesures.xls", "base1904.xlsx": "base1904_libreoffice.xlsx",
                  "base1904.xls": "base1904.xls"}
        for nom, cible in copies.items():
            shutil.copyfile(os.path.join(tmp, nom), os.path.join(ICI, cible))


if __name__ == "__main__":
    mesures_python()
    base1904_python()
    releves_python()
    colonnes_python()
    repetitions_ods()
    fichiers_hostiles()
    if "--sans-libreoffice" not in sys.argv:
        libreoffice()
        xls_patches()
