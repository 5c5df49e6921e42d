"""What a user would otherwise write with pandas: the same files, the same
15-minute means (right-closed, right-labelled intervals), the counts, a CSV."""
import glob
import sys

import pandas as pd

dossier, sortie = sys.argv[1], sys.argv[2]
trames = [
    pd.read_csv(f, sep=";", decimal=",", na_values=["NA", "-99999"], parse_dates=["Date"],
                index_col="Date")
    for f in sorted(glob.glob(dossier + "/*.csv"))
]
donnees = pd.concat(trames)
groupes = donnees.resample("15min", closed="right", label="right")
resultat = groupes.mean()
resultat["nb"] = groupes.size()
resultat.to_csv(sortie, sep=";", decimal=",", float_format="%.3f")
