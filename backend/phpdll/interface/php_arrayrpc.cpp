// The Zend glue of arrayrpc: the only file that knows the interpreter.
// Everything it calls is the plain C++ code of arrayrpc_core.
extern "C" {
#include "php.h"
#include "ext/standard/info.h"
}

#include <string>

#include "Parser/RequestEntry.h"
#include "Util/KXTrace.h"
#include "Util/kxNow.h"

#define PHP_ARRAYRPC_VERSION "5.0"

// arrayrpc(string $xml, &$result): int
//   1: $result now holds the response; 4: unknown request name, $result
//   untouched; 0: the arguments could not be read.
// Neither argument carries a type: the function does its own checking and
// answers 0 instead of throwing, as the GUI's scripts expect.
ZEND_BEGIN_ARG_WITH_RETURN_TYPE_INFO_EX(arginfo_arrayrpc, 0, 2, IS_LONG, 0)
    ZEND_ARG_INFO(0, xml)
    ZEND_ARG_INFO(1, result)
ZEND_END_ARG_INFO()

ZEND_BEGIN_ARG_WITH_RETURN_TYPE_INFO_EX(arginfo_getNow, 0, 0, IS_STRING, 0)
ZEND_END_ARG_INFO()

PHP_FUNCTION(arrayrpc)
{
    char *xml = nullptr;
    size_t xmlLength = 0;
    zval *result = nullptr;

    kxTrace("PHP_FUNCTION+++\n");
    // Quiet parsing: bad arguments are answered with 0, never an exception.
    if (zend_parse_parameters_ex(ZEND_PARSE_PARAMS_QUIET, ZEND_NUM_ARGS(), "sz", &xml, &xmlLength,
                                 &result) == FAILURE) {
        RETURN_LONG(0);
    }
    kxTrace("PHP_FUNCTION: %d\n", static_cast<int>(xmlLength));
    kxTrace("PHP_FUNCTION:%s\n", kxMaskSecrets(xml).c_str());

    const char *response = nullptr;
    unsigned responseLength = 0;
    int status = issueXML(xml, &response, responseLength);
    kxTrace("PHP_FUNCTION---\n");
    if (status != 0)
        RETURN_LONG(status);

    if (Z_ISREF_P(result)) {
        ZEND_TRY_ASSIGN_REF_STRINGL(result, response, responseLength);
    } else {
        // Only reachable through a call that bypasses the by-reference
        // declaration; the caller cannot see the response then.
        zval_ptr_dtor(result);
        ZVAL_STRINGL(result, response, responseLength);
    }
    RETURN_LONG(1);
}

PHP_FUNCTION(getNow)
{
    ZEND_PARSE_PARAMETERS_NONE();
    const std::string now = kxCompactNow();
    RETURN_STRINGL(now.data(), now.size());
}

PHP_MINIT_FUNCTION(arrayrpc)
{
    (void)type;
    (void)module_number;
    initHandle();
    kxTrace("PHP module loaded\n");
    return SUCCESS;
}

PHP_MSHUTDOWN_FUNCTION(arrayrpc)
{
    (void)type;
    (void)module_number;
    kxTrace("PHP module unloaded\n");
    closeHandle();
    return SUCCESS;
}

PHP_MINFO_FUNCTION(arrayrpc)
{
    (void)zend_module;
    php_info_print_table_start();
    php_info_print_table_header(2, "arrayrpc support", "enabled");
    php_info_print_table_end();
}

static const zend_function_entry arrayrpc_functions[] = {
    PHP_FE(arrayrpc, arginfo_arrayrpc)
    PHP_FE(getNow, arginfo_getNow)
    PHP_FE_END
};

zend_module_entry arrayrpc_module_entry = {
    STANDARD_MODULE_HEADER,
    "arrayrpc",
    arrayrpc_functions,
    PHP_MINIT(arrayrpc),
    PHP_MSHUTDOWN(arrayrpc),
    nullptr, // no request start callback
    nullptr, // no request end callback
    PHP_MINFO(arrayrpc),
    PHP_ARRAYRPC_VERSION,
    STANDARD_MODULE_PROPERTIES
};

ZEND_GET_MODULE(arrayrpc)
