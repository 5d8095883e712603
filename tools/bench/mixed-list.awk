# A line list as a plant's design office has it, for timing the batch: compressed air over a
# range of pressures and temperatures; saturated steam by specific volume (four decimals, so a
# few thousand distinct values as tables give them) and by pressure; superheated steam; water
# with and without its temperature; one line in seven in the metric series, some with another
# roughness; and now and then a row an engineer got wrong. The same rows for the same n.
#   awk -v n=1000000 -f tools/bench/mixed-list.awk > lines.csv
#   tovrik-size batch --absolute lines.csv
BEGIN {
    print "tag,medium,Q,P,T,u,p,Ts,v,series,roughness"
    srand(7)
    split("0.1 0.2 0.15 0.5", roughness, " ")
    for (i = 0; i < n; i++) {
        k = int(rand() * 100)
        series = rand() < 0.15 ? "cn" : ""
        rough = rand() < 0.1 ? roughness[1 + int(rand() * 4)] : ""
        tail = "," series "," rough
        tag = sprintf("L-%07d", i)
        if (k < 35)
            printf "%s,air,%d,%.2f,%d,,,,%d%s\n", tag, 50 + int(rand() * 5000),
                0.2 + rand(), int(rand() * 60), 8 + int(rand() * 7), tail
        else if (k < 45)
            printf "%s,steam,%.1f,,,%.4f,,,%d%s\n", tag, 0.5 + rand() * 20,
                0.2 + rand() * 0.3, 20 + int(rand() * 20), tail
        else if (k < 57)
            printf "%s,steam,%.1f,,,,%.2f,,%d%s\n", tag, 0.5 + rand() * 20,
                0.2 + rand() * 1.4, 20 + int(rand() * 20), tail
        else if (k < 65)
            printf "%s,steam,%.1f,,,,%.1f,%d,%d%s\n", tag, 0.5 + rand() * 20,
                1 + int(rand() * 30) / 10, 250 + 10 * int(rand() * 15), 30 + int(rand() * 20), tail
        else if (k < 85)
            printf "%s,water,%d,%.1f,%d,,,,%.1f%s\n", tag, 1 + int(rand() * 500),
                0.3 + int(rand() * 13) / 10, 5 + int(rand() * 30) * 5, 0.8 + int(rand() * 15) / 10, tail
        else if (k < 98)
            printf "%s,water,%d,,,,,,%.1f%s\n", tag, 1 + int(rand() * 500),
                0.8 + int(rand() * 15) / 10, tail
        else if (k < 99)
            printf "%s,water,,,,,,,1.5%s\n", tag, tail
        else
            printf "%s,air,%d,0.7,20,,,,-3%s\n", tag, 100 + int(rand() * 900), tail
    }
}
