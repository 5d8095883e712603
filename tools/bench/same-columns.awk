# The columns tovrik-size batch adds, computed the obvious way in awk, for tools/bench/batch.sh:
# the diameter (printf "%.15G"), the recommended ASME schedule 40 pipe and the size beside it
# with their velocities and checks, and the pressure drop per 100 m with IAPWS-IF97 and
# IAPWS 2008 for water and saturated steam, the ideal gas and Sutherland for air, and Colebrook.
# Input: medium,Q,P,T,u,v rows without quotes, as batch.sh generates them.

function pw(x, k,    r) { r = 1; if (k < 0) { x = 1 / x; k = -k } while (k-- > 0) r *= x; return r }
function log10(x) { return log(x) / log(10) }

function ts(p,    b, e, f, g, d) {
    b = p ^ 0.25
    e = b * b + N[3] * b + N[6]; f = N[1] * b * b + N[4] * b + N[7]; g = N[2] * b * b + N[5] * b + N[8]
    d = 2 * g / (-f - sqrt(f * f - 4 * e * g))
    return (N[10] + d - sqrt((N[10] + d) ^ 2 - 4 * (N[9] + N[10] * d))) / 2
}
function v2(p, t,    s, k, tau) {
    s = 0; tau = 540 / t - 0.5
    for (k = 1; k <= 43; k++) s += R2n[k] * R2i[k] * pw(p, R2i[k] - 1) * pw(tau, R2j[k])
    return 0.461526 * t / (p * 1000) * p * (1 / p + s)
}
function v1(p, t,    s, k, a, b) {
    s = 0; a = 7.1 - p / 16.53; b = 1386 / t - 1.222
    for (k = 1; k <= 34; k++) s -= R1n[k] * R1i[k] * pw(a, R1i[k] - 1) * pw(b, R1j[k])
    return 0.461526 * t / (p * 1000) * (p / 16.53) * s
}
function mu(t, rho,    tb, rb, s0, s1, i, j, inner) {
    tb = t / 647.096; rb = rho / 322
    s0 = 1.67752 + 2.20462 / tb + 0.6366564 / tb ^ 2 - 0.241605 / tb ^ 3
    s1 = 0
    for (i = 0; i < 6; i++) { inner = 0; for (j = 0; j < 7; j++) inner += H[i, j] * pw(rb - 1, j); s1 += pw(1 / tb - 1, i) * inner }
    return 1e-6 * 100 * sqrt(tb) / s0 * exp(rb * s1)
}
function lnvsat(x,    p) { p = exp(x); return log(v2(p, ts(p))) }
function satstate(u,    lo, hi, t, x0, x1, f0, f1, x2, step) {
    lo = log(0.000611); hi = log(16.5); t = log(u)
    if (t > lnvsat(lo) || t < lnvsat(hi)) return 0
    x0 = lo; x1 = hi; f0 = lnvsat(x0) - t; f1 = lnvsat(x1) - t
    for (step = 0; step < 60 && f1 != 0 && (x1 - x0 > 1e-13 || x0 - x1 > 1e-13); step++) {
        x2 = x1 - f1 * (x1 - x0) / (f1 - f0); if (x2 < lo) x2 = lo; if (x2 > hi) x2 = hi
        x0 = x1; f0 = f1; x1 = x2; f1 = lnvsat(x1) - t
    }
    STEAM_T = ts(exp(x1)); return 1
}
function colebrook(re, rr,    a, b, k, x, inner, g, nx, step) {
    a = rr / 3.7; b = 2.51 / re; k = 2 / log(10); x = 8
    for (step = 0; step < 50; step++) {
        inner = a + b * x; g = x + k * log(inner); nx = x - g / (1 + k * b / inner)
        if ((nx - x) ^ 2 <= (1e-14 * nx) ^ 2) { x = nx; break }
        x = nx
    }
    return 1 / (x * x)
}
function range(m, d) {
    if (m == "air") { LO = 8; HI = 15 }
    else if (m == "steam") { if (d < 100) { LO = 20; HI = 40 } else if (d <= 200) { LO = 30; HI = 50 } else { LO = 40; HI = 60 } }
    else if (d <= 32) { LO = 0.5; HI = 0.7 } else if (d <= 50) { LO = 0.7; HI = 1.0 } else if (d <= 90) { LO = 1.0; HI = 1.6 } else { LO = 0; HI = 2.0 }
}
function check(m, i, flow) {
    V = flow / 3600 / (3.141592653589793 / 4 * (bore[i] / 1000) ^ 2)
    range(m, dn[i]); return V < LO ? "below" : V > HI ? "above" : "inside"
}

BEGIN {
    FS = ","
    n = split("15 20 25 32 40 50 65 80 90 100 125 150 200 250 300 350 400 450 500 600", dn, " ")
    split("15.76 20.96 26.64 35.08 40.94 52.48 62.68 77.92 90.12 102.26 128.20 154.08 202.74 254.46 303.18 333.34 381.00 428.46 477.82 575.04", bore, " ")
    split("0 0.11670521452767e4 -0.72421316703206e6 -0.17073846940092e2 0.12020824702470e5 -0.32325550322333e7 0.14915108613530e2 -0.48232657361591e4 0.40511340542057e6 -0.23855557567849 0.65017534844798e3", t4, " ")
    for (k = 1; k <= 11; k++) N[k - 1] = t4[k]
    split("1 1 1 1 1 2 2 2 2 2 3 3 3 3 3 4 4 4 5 6 6 6 7 7 7 8 8 9 10 10 10 16 16 18 20 20 20 21 22 23 24 24 24", R2i, " ")
    split("0 1 2 3 6 1 2 4 7 36 0 1 3 6 35 1 2 3 7 3 16 35 0 11 25 8 36 13 4 10 14 29 50 57 20 35 48 21 53 39 26 40 58", R2j, " ")
    split("-0.17731742473213e-2 -0.17834862292358e-1 -0.45996013696365e-1 -0.57581259083432e-1 -0.50325278727930e-1 -0.33032641670203e-4 -0.18948987516315e-3 -0.39392777243355e-2 -0.43797295650573e-1 -0.26674547914087e-4 0.20481737692309e-7 0.43870667284435e-6 -0.32277677238570e-4 -0.15033924542148e-2 -0.40668253562649e-1 -0.78847309559367e-9 0.12790717852285e-7 0.48225372718507e-6 0.22922076337661e-5 -0.16714766451061e-10 -0.21171472321355e-2 -0.23895741934104e2 -0.59059564324270e-17 -0.12621808899101e-5 -0.38946842435739e-1 0.11256211360459e-10 -0.82311340897998e1 0.19809712802088e-7 0.10406965210174e-18 -0.10234747095929e-12 -0.10018179379511e-8 -0.80882908646985e-10 0.10693031879409 -0.33662250574171 0.89185845355421e-24 0.30629316876232e-12 -0.42002467698208e-5 -0.59056029685639e-25 0.37826947613457e-5 -0.12768608934681e-14 0.73087610595061e-28 0.55414715350778e-16 -0.94369707241210e-6", R2n, " ")
    split("0 0 0 0 0 0 0 0 1 1 1 1 1 1 2 2 2 2 2 3 3 3 4 4 4 5 8 8 21 23 29 30 31 32", R1i, " ")
    split("-2 -1 0 1 2 3 4 5 -9 -7 -1 0 1 3 -3 0 1 3 17 -4 0 6 -5 -2 10 -8 -11 -6 -29 -31 -38 -39 -40 -41", R1j, " ")
    split("0.14632971213167 -0.84548187169114 -0.37563603672040e1 0.33855169168385e1 -0.95791963387872 0.15772038513228 -0.16616417199501e-1 0.81214629983568e-3 0.28319080123804e-3 -0.60706301565874e-3 -0.18990068218419e-1 -0.32529748770505e-1 -0.21841717175414e-1 -0.52838357969930e-4 -0.47184321073267e-3 -0.30001780793026e-3 0.47661393906987e-4 -0.44141845330846e-5 -0.72694996297594e-15 -0.31679644845054e-4 -0.28270797985312e-5 -0.85205128120103e-9 -0.22425281908000e-5 -0.65171222895601e-6 -0.14341729937924e-12 -0.40516996860117e-6 -0.12734301741641e-8 -0.17424871230634e-9 -0.68762131295531e-18 0.14478307828521e-19 0.26335781662795e-22 -0.11947622640071e-22 0.18228094581404e-23 -0.93537087292458e-25", R1n, " ")
    split("5.20094e-1 2.22531e-1 -2.81378e-1 1.61913e-1 -3.25372e-2 0 0 8.50895e-2 9.99115e-1 -9.06851e-1 2.57399e-1 0 0 0 -1.08374 1.88797 -7.72479e-1 0 0 0 0 -2.89555e-1 1.26613 -4.89837e-1 0 6.98452e-2 0 -4.35673e-3 0 0 -2.57040e-1 0 0 8.72102e-3 0 0 1.20573e-1 0 0 0 0 -5.93264e-4", h, " ")
    for (i = 0; i < 6; i++) for (j = 0; j < 7; j++) H[i, j] = h[i * 7 + j + 1]
}
NR == 1 { print $0 ",d,error,DN,ID,v_real,v_check,DN_alt,v_alt,v_check_alt,dp_kPa_100m,Re,f"; next }
{
    m = $1
    if (m == "air") flow = $2 * ($4 + 273) * 0.1 / ($3 * 273)
    else if (m == "steam") flow = $5 * ($2 * 1000)
    else flow = $2
    d = sqrt(flow / $6) * 18.8
    for (i = 1; i <= n && bore[i] < d; i++) ;
    if (i > n) { printf "%s,%.15G,,,,,beyond-table,,,,,,\n", $0, d; next }
    if (dn[i] == 90) i++
    s = i - 1; if (s >= 1 && dn[s] == 90) s--
    large = check(m, i, flow); vl = V
    if (s >= 1) { small = check(m, s, flow); vs = V } else small = ""
    rec = i; alt = s; vr = vl; va = vs; cr = large; ca = small
    if (s >= 1 && small == "inside" && large != "inside") { rec = s; alt = i; vr = vs; va = vl; cr = small; ca = large }
    # the fluid in the recommended pipe
    if (m == "air") { tk = $4 + 273.15; rho = $3 * 1e6 / (287.05 * tk); visc = 1.716e-5 * (tk / 273.15) ^ 1.5 * (273.15 + 110.4) / (tk + 110.4) }
    else if (m == "water") { rho = 1 / v1(0.101325, 293.15); visc = mu(293.15, rho) }
    else { if (!satstate($5)) { rho = 0 } else { rho = 1 / $5; visc = mu(STEAM_T, rho) } }
    D = bore[rec] / 1000
    out = sprintf("%s,%.15G,,%d,%.2f,%.2f,%s,", $0, d, dn[rec], bore[rec], vr, cr)
    out = out (alt >= 1 ? sprintf("%d,%.2f,%s", dn[alt], va, ca) : ",,")
    if (rho > 0) {
        re = rho * vr * D / visc
        f = re < 2300 ? 64 / re : colebrook(re, 0.046 / bore[rec])
        out = out sprintf(",%.3f,%.0f,%.5f", f * (100 / D) * rho * vr * vr / 2 / 1000, re, f)
    } else out = out ",,,"
    print out
}
