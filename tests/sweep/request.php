<?php
// One request of a GUI page through the real module, answered as the
// create and spares pages answer it: success only on RetVal 0.
// Usage: php request.php <request> [<name>=<value> ...]
declare(strict_types=1);
require_once __DIR__ . '/../../web/lib/controller.php';

$params = [];
foreach (array_slice($argv, 2) as $arg) {
    [$k, $v] = explode('=', $arg, 2);
    $params[$k] = $v;
}
$rc = Rpc::retval(Rpc::call($argv[1], $params));
echo $rc === 0 ? "done\n" : 'refused: ' . Words::error($rc) . (Rpc::$lastError !== '' ? ' (' . Rpc::$lastError . ')' : '') . "\n";
exit($rc === 0 ? 0 : 1);
