import random
random.seed(16)
formats = ["aaaa_mm_jj_hh_mn_ss","jj_mm_aaaa_hh_mn_ss","jj_mm_20aa_hh_mn_ss","mm_jj_aaaa_hh_mn_ss",
"19aa_mm_jj_hh_mn_ss","20aa_mm_jj_hh_mn_ss","jj_mm_aaaa","jj/mm/aaaa OU aaaa/mm/jj","mm/dd/yyyy OU yyyy/dd/mm",
"multiformat_dt_mini_1èreUE","multiformat_dt_mini_1èreUS","multiformat",
"aaaa_mm_jj hh_mn_ss","aaaa_mm_jj hh_mn","aaaa_mm_jj hh_mn_ss.s","jj_mm_aaaa hh_mn_ss","jj_mm_aaaa hh_mn",
"mm_jj_aaaa hh_mn_ss","20aa_mm_jj hh_mn_ss","20aa_mm_jj hh_mn",
"aaaa-mm-jjEhh:mn:ss","aaaa-mm-jj hh:mn","jj/mm/aaaa hh:mn:ss","20aa-mm-jj hh:mn:ss","jj/mm/20aa hh:mn:ss",
"2022/03/12 hh:mn:ss","12-03-2022 hh:mn:ss","hh_mn_ss","aaaa-mm-jjThh:mn:ss","jj_mm_aa_hh_mn_ss",
"aaaa_mm_jj_hh","aaaa_mm hh:mn","aaaa-mm-jj hh mm ss","aaaa/mm/jj T hh:mn:ss.s #E","aaaa_mm_jj___hh_mn_ss_s___",
"aaaa.mm.jj","aaaa","","aaaammjj hhmnss","aaaa-mm-jj  hh:mn"]
def d2(v,pad=True): return ("%02d" if pad else "%d")%v
layouts=["{Y}-{m}-{d} {H}:{M}:{S}","{d}/{m}/{Y} {H}:{M}:{S}","{m}/{d}/{Y} {H}:{M}:{S}","{y}/{m}/{d} {H}:{M}:{S}",
"{d}/{m}/{y} {H}:{M}:{S}","{H}:{M}:{S}","{Y}-{m}-{d}T{H}:{M}:{S}.{t}","{Y}{m}{d} {H}{M}{S}","{d}/{m}/{Y}","{Y}-{m}-{d}",
"{Y}-{m}-{d} {H}:{M}","{d}/{m}/{Y} {H}:{M}","\"{Y}-{m}-{d} {H}:{M}:{S}\"","{Y}-{m}-{d}T{H}:{M}:{S}+02:00",
"{m}/{d}/{y} {h12}:{M}:{S} {ap}","{Y}-{m}-{d} {H}:{M}:{S} {ap}"]
out=[]
alphabet="0123456789/:-T. \"aE,;_()xPMZ+"
for f in formats:
    for i in range(110):
        Y=random.randint(1950,2049); m=random.randint(1,12); d=random.randint(1,28)
        H=random.randint(0,23); M=random.randint(0,59); S=random.randint(0,59)
        pad = random.random()<0.75
        lay=random.choice(layouts)
        t=lay.format(Y="%04d"%Y,y=d2(Y%100),m=d2(m,pad),d=d2(d,pad),H=d2(H,pad),M=d2(M,pad),S=d2(S,pad),
            t=str(random.randint(0,999)),h12=d2((H%12) or 12,pad),ap="AM" if H<12 else "PM")
        r=random.random()
        if r<0.2:
            t=list(t)
            for k in range(random.randint(1,3)):
                if t: t[random.randrange(len(t))]=random.choice(alphabet)
            t="".join(t)
        elif r<0.25:
            t="".join(random.choice(alphabet) for _ in range(random.randint(0,25)))
        t=t.replace("\t"," ")
        out.append(f+"\t"+t)
open("/tmp/textes.tsv","w",encoding="utf-8").write("\n".join(out)+"\n")
print(len(out))
