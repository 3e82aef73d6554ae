BYTE a, b, c, d, e, f, g, h, i, j, k, l, m
BYTE n, o, p, q, r, s, t, u, v, w, x, y, z
BYTE v27
BYTE v28
