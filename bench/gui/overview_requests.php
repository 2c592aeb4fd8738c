<?php
// The module requests of one overview page, made as the page makes them;
// prints the requests and the milliseconds spent inside the module, the
// best of the given number of rounds.
declare(strict_types=1);
require __DIR__ . '/../../web/lib/controller.php';

$rounds = (int)($argv[1] ?? 20);
$best = PHP_INT_MAX;
for ($r = 0; $r < $rounds; $r++) {
    Rpc::$calls = Rpc::$spentNs = 0;
    Controller::changeStamp();
    for ($a = 0, $n = Controller::adapterCount(); $a < $n; $a++) {
        Controller::adapterInfo($a);
        Controller::battery($a);
        Controller::pds($a);
        Controller::arrays($a);
        Controller::vds($a);
    }
    $best = min($best, Rpc::$spentNs);
}
printf("overview requests: %d in %.3f ms\n", Rpc::$calls, $best / 1e6);
